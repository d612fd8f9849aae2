// dbOpen(0) for the length of a scope and dbClose(0) at its end, on every path.
#pragma once

#include "DbConnection.h"

class ConnectionScope {
public:
    ConnectionScope() : m_status(dbOpen(0)) {}
    ~ConnectionScope() { dbClose(0); }
    ConnectionScope(const ConnectionScope &) = delete;
    ConnectionScope &operator=(const ConnectionScope &) = delete;

    // false after dbOpen reported its failure (message titled "dbOpen").
    bool ok() const { return m_status == 0; }

private:
    int m_status;
};
