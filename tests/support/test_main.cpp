// Every test program runs with a QApplication on the offscreen platform, so that screens can
// be built and driven by their keys without a display.
#include <QApplication>
#include <QByteArray>
#include <QFont>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    app.setFont(font);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
