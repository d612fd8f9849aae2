#include "Camera.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {
constexpr int kTitleBar = 26;
const QColor kFrame(0x2f, 0x3d, 0x4e);

// The window with a title bar carrying its caption and a one-pixel frame around it.
QPixmap framed(const QPixmap &body, const QString &title)
{
    QPixmap picture(body.width() + 2, body.height() + kTitleBar + 1);
    picture.fill(kFrame);
    QPainter painter(&picture);
    painter.drawPixmap(1, kTitleBar, body);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect bar(10, 0, picture.width() - 20, kTitleBar);
    painter.drawText(bar, Qt::AlignVCenter | Qt::AlignLeft, title);
    painter.drawText(bar, Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("✕"));
    return picture;
}
} // namespace

Camera::Camera(const QString &folder) : m_folder(folder)
{
    QDir().mkpath(folder);
}

void Camera::settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (timer.elapsed() < milliseconds);
}

void Camera::shoot(QWidget *window, const QString &name)
{
    if (!window) {
        fail(name + QStringLiteral(": 画面がありません"));
        return;
    }
    if (!window->isVisible())
        window->show();
    settle();
    const QPixmap body = window->grab();
    const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
    if (body.isNull() || !framed(body, window->windowTitle()).save(path, "PNG")) {
        fail(name + QStringLiteral(": 保存できません"));
        return;
    }
    m_saved << name;
}

void Camera::onNextModal(std::function<void(QWidget *)> act)
{
    // The dialog is modal only once its exec() runs: wait for a modal widget to appear.
    auto *poll = new QTimer;
    auto *waited = new QElapsedTimer;
    waited->start();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [this, poll, waited, act] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog && waited->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        delete waited;
        if (!dialog) {
            fail(QStringLiteral("モーダル画面が開きませんでした"));
            return;
        }
        QPointer<QWidget> guard(dialog);
        QTimer::singleShot(15000, dialog, [this, guard] {
            if (guard && guard->isVisible()) {
                fail(QStringLiteral("モーダル画面が閉じませんでした: ") + guard->windowTitle());
                guard->close();
            }
        });
        settle();
        act(dialog);
    });
    poll->start();
}
