// The function-key bar at the bottom of a grid screen (its functionKeyBar): a rule and the
// twelve key labels, F1 to F12 from left to right in groups of four.
#pragma once

#include <QFrame>
#include <QStringList>

#include <array>

class FunctionKeyLabel;

class FunctionKeyBar : public QFrame {
    Q_OBJECT
public:
    static constexpr int kKeys = 12;

    explicit FunctionKeyBar(QWidget *parent = nullptr);

    // Captions of F1 ... F12; an empty or missing caption is a key without action.
    void setKeys(const QStringList &captions);
    bool isKeyEnabled(int index) const;
    FunctionKeyLabel *label(int index) const { return m_labels.at(size_t(index)); }

    std::array<FunctionKeyLabel *, kKeys> m_labels{};

signals:
    void labelClicked(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutLabels();

    QFrame *m_line;
};
