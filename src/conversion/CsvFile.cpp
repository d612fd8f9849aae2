#include "CsvFile.h"

#include "Cp932.h"
#include "Installation.h"
#include "OutputFileCapture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
// Lines are gathered and written in blocks; a block is far smaller than any file of a run.
constexpr qsizetype kBlockBytes = 1 << 16;

QString temporaryPathFor(const QString &finalPath)
{
    const QFileInfo info(finalPath);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() +
                               QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid()));
}
} // namespace

CsvFile::CsvFile(QString finalPath)
    : m_finalPath(std::move(finalPath)), m_file(temporaryPathFor(m_finalPath))
{
}

CsvFile::~CsvFile()
{
    if (!m_committed)
        discard();
}

bool CsvFile::open()
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(m_file.errorString());
    return true;
}

bool CsvFile::fail(const QString &text)
{
    m_error = m_finalPath + QStringLiteral(" に書き出せません。") + text;
    discard();
    return false;
}

QString CsvFile::line(const QStringList &values)
{
    QString text;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i)
            text += QLatin1Char(',');
        text += QLatin1Char('"');
        const QString &value = values.at(i);
        if (value.contains(QLatin1Char('"'))) {
            QString doubled = value;
            doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
            text += doubled;
        } else {
            text += value;
        }
        text += QLatin1Char('"');
    }
    return text;
}

QString CsvFile::unencodableMessage(const QString &controlNumber, const QString &character)
{
    return QStringLiteral("管理No ") + controlNumber + QStringLiteral(" に出力できない文字「") +
           character + QStringLiteral("」があります。");
}

bool CsvFile::writeLine(const QStringList &values, const QString &controlNumber)
{
    const Cp932::Encoded encoded = Cp932::encode(line(values));
    if (!encoded.ok()) {
        discard();
        m_error = unencodableMessage(controlNumber, encoded.badChar);
        return false;
    }
    m_buffer += encoded.bytes;
    m_buffer += "\r\n";
    ++m_lines;
    if (m_buffer.size() >= kBlockBytes) {
        if (m_file.write(m_buffer) != m_buffer.size())
            return fail(m_file.errorString());
        m_buffer.clear();
    }
    return true;
}

bool CsvFile::commit()
{
    if (!m_buffer.isEmpty() && m_file.write(m_buffer) != m_buffer.size())
        return fail(m_file.errorString());
    m_buffer.clear();
    if (!m_file.flush())
        return fail(m_file.errorString());
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        return fail(m_file.errorString());
    // rename(2) replaces an existing file in one step, so the final name never shows a
    // half-written file.
    const QByteArray from = QFile::encodeName(m_file.fileName());
    const QByteArray to = QFile::encodeName(m_finalPath);
    if (std::rename(from.constData(), to.constData()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    m_committed = true;
    OutputFileCapture::note(m_finalPath);
    return true;
}

void CsvFile::discard()
{
    if (m_committed)
        return;
    if (m_file.isOpen())
        m_file.close();
    if (QFile::exists(m_file.fileName()))
        QFile::remove(m_file.fileName());
    m_buffer.clear();
}

std::optional<QString> CsvFile::freePath(const QString &folder, const QString &base)
{
    for (int n = 0; n <= 99; ++n) {
        const QString name = n == 0 ? base : base + QStringLiteral("_%1").arg(n);
        const QString path = Installation::joinPath(folder, name + QStringLiteral(".csv"));
        if (!QFileInfo::exists(path))
            return path;
    }
    return std::nullopt;
}

QString CsvFile::namesUsedUpMessage(const QString &base)
{
    return base + QStringLiteral("_99.csv まで使用済みのため書き出せません。");
}
