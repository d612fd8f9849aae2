// One label of the function-key bar: the key's caption, with the key's name (F1 ... F12)
// drawn small in its corner. A click on an enabled label acts as its key.
#pragma once

#include <QLabel>

class FunctionKeyLabel : public QLabel {
    Q_OBJECT
public:
    FunctionKeyLabel(int index, QWidget *parent = nullptr);

    int index() const { return m_index; }
    // Caption, enabled state and bold font together: a key without action has no caption.
    void setKey(const QString &caption);

signals:
    void clicked(int index);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_index;
};
