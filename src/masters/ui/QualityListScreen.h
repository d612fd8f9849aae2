// The quality master list "品質マスタ": every quality key with its content rows, care symbols
// and notes; edited through QualityEditScreen. Besides the master keys: F9 CSV writes ostQ.csv,
// F10 印刷 prints the quality cards (all, or those saved on a day the operator names).
#pragma once

#include "MasterListScreen.h"
#include "ReportEngine.h"

class QualityListScreen : public MasterListScreen {
    Q_OBJECT
public:
    explicit QualityListScreen(Session &session, QWidget *parent = nullptr);

    void exportCsv();
    void print();

    // The report engine the cards print through.
    ReportEngine reportEngine;

protected:
    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    std::unique_ptr<MasterTable> createTable(Db &db) const override;
    QStringList functionKeyCaptions() const override;
    void onFunctionKey(int key) override;
};
