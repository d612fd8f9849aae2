// The session's connection opened for the length of a scope and closed at its end, on every
// path (the old dbOpen(0) ... dbClose(0)).
#pragma once

#include "Db.h"
#include "Session.h"

class ConnectionScope {
public:
    explicit ConnectionScope(Session &session) : m_session(session), m_status(session.open()) {}
    ~ConnectionScope() { m_session.close(); }
    ConnectionScope(const ConnectionScope &) = delete;
    ConnectionScope &operator=(const ConnectionScope &) = delete;

    // false after the open reported its failure (message titled "dbOpen").
    bool ok() const { return m_status == Outcome::Done; }
    // The connection; only after ok().
    Db &db() const { return *m_session.db(); }

private:
    Session &m_session;
    Outcome m_status;
};
