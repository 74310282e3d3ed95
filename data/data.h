#pragma once

#include "connection.h"
#include "datasource.h"
#include "query.h"

// The program's only door to the database file: one connection, three shared queries and
// the two data sources that grids and reports are bound to. The members keep their order:
// each is built on the ones before it.
class TDM {
public:
    TDM();

    Connection ADC;
    Query AQ1;
    Query AQ2;
    DataSource DS1;
    DataSource DS2;
    Query AQUP;
};

// The one data module of the running program; set by whoever creates it.
extern TDM *DM;

// Closes AQ1, AQ2 and AQUP, in that order, so that no window sees another's result.
void CloseAllQueries();
