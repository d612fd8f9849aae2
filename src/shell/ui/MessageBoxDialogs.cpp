#include "MessageBoxDialogs.h"

#include "BusyCursor.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString titleOr(const QString &title)
{
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}
} // namespace

void MessageBoxDialogs::showMessage(const QString &text, Icon icon, const QString &title)
{
    BusyCursor::Pause normal;
    QMessageBox box(boxIcon(icon), titleOr(title), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool MessageBoxDialogs::askQuestion(const QString &text, Icon icon, const QString &title, bool defaultNo)
{
    BusyCursor::Pause normal;
    QMessageBox box(boxIcon(icon), titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> MessageBoxDialogs::askInput(const QString &prompt, const QString &title,
                                                const QString &initial)
{
    BusyCursor::Pause normal;
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), titleOr(title), prompt,
                                               QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

void MessageBoxDialogs::soundBeep()
{
    QApplication::beep();
}
