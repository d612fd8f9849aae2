// A failure inside the report engine (a layout that cannot be read, a field the layout does
// not have, a printer that refuses the job). The list modules show description() to the
// operator as the error's own text.
#pragma once

#include <QString>

#include <stdexcept>

class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {
    }

    QString description() const { return m_description; }

private:
    QString m_description;
};
