#include "GridPrintPreview.h"

#include "Desktop.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QToolBar>

GridPrintPreview::GridPrintPreview(QPrinter *printer, const QString &pdfPath, QWidget *parent)
    : QPrintPreviewDialog(printer, parent), m_pdfPath(pdfPath)
{
    setWindowTitle(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"));
    m_preview = findChild<QPrintPreviewWidget *>();
    // The dialog's own print button opens the system print dialog (and for PDF asks for a file
    // name); the desk's printer is already chosen, so the button prints at once instead.
    const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction *action : findChildren<QAction *>()) {
        if (action->text() == printText) {
            m_printAction = action;
            break;
        }
    }
    if (m_printAction) {
        disconnect(m_printAction, &QAction::triggered, nullptr, nullptr);
        connect(m_printAction, &QAction::triggered, this, &GridPrintPreview::printNow);
    }
    if (auto *bar = findChild<QToolBar *>(); bar && m_preview) {
        m_pageLabel = new QLabel(bar);
        m_pageLabel->setContentsMargins(8, 0, 8, 0);
        bar->addWidget(m_pageLabel);
        connect(m_preview, &QPrintPreviewWidget::previewChanged, this,
                &GridPrintPreview::showPageIndicator);
    }
}

QString GridPrintPreview::pageIndicator() const
{
    if (!m_preview)
        return {};
    return QStringLiteral("ﾍﾟｰｼﾞ %1 / %2")
        .arg(m_preview->currentPage())
        .arg(m_preview->pageCount());
}

void GridPrintPreview::showPageIndicator()
{
    if (m_pageLabel)
        m_pageLabel->setText(pageIndicator());
}

void GridPrintPreview::printNow()
{
    if (m_preview)
        m_preview->print();
    m_printed = true;
    if (!m_pdfPath.isEmpty())
        Desktop::openOrTell(m_pdfPath);
    accept();
}
