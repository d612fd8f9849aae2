// The print preview of the grid screens ("印刷ﾌﾟﾚﾋﾞｭｰ"). Its print button sends the pages
// straight to the printer the desk resolved (the list printer): a CUPS queue, or for the PDF
// printer a file in print/ that is then opened. The system print dialog is not shown; the printer
// is chosen on the options screen.
#pragma once

#include <QPrintPreviewDialog>

class QAction;
class QLabel;
class QPrintPreviewWidget;

class GridPrintPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    // pdfPath: the file the PDF printer writes, empty for a real printer.
    GridPrintPreview(QPrinter *printer, const QString &pdfPath, QWidget *parent = nullptr);

    // The print button's action.
    void printNow();
    bool hasPrinted() const { return m_printed; }
    QAction *printAction() const { return m_printAction; }
    // "ﾍﾟｰｼﾞ n / N" as the preview's tool bar shows it.
    QString pageIndicator() const;

private:
    void showPageIndicator();

    QPrintPreviewWidget *m_preview = nullptr;
    QLabel *m_pageLabel = nullptr;
    QAction *m_printAction = nullptr;
    QString m_pdfPath;
    bool m_printed = false;
};
