// The confirmed-order reference (確定済み参照): confirmed lines of every import date, narrowed
// by seven filters. The grid stays empty until F4 "表示"; F12 exports what it shows with the
// Japanese headings. The screen keeps its designed size and layout.
#pragma once

#include "ConfirmedOrderQuery.h"
#include "GridScreen.h"

class Session;

class QComboBox;

class ConfirmedOrdersScreen : public GridScreen {
    Q_OBJECT
public:
    explicit ConfirmedOrdersScreen(Session &session, QWidget *parent = nullptr);

    // Filter lists, keys and columns; the grid is not filled.
    void initialise() override;
    ConfirmedOrderFilters filters() const;

    QComboBox *importDateCombo;
    QComboBox *setDateFromCombo;
    QComboBox *setDateToCombo;
    QComboBox *lotNumberCombo;
    QComboBox *productNumberCombo;
    QComboBox *rowCombo;
    QComboBox *productionMonthCombo;
    QComboBox *nameTypeCombo;

protected:
    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    QStringList functionKeyCaptions() const override;
    void onFunctionKey(int key) override;

private:
    QWidget *buildFilters();
    void fillLists();
    void buildQuery();
    void showRows();

    // The four parts of the query; the grid's statement is their concatenation.
    QString m_select;
    QString m_from;
    QString m_where;
    QString m_order;
};
