// PostgreSQL compiles large statements to machine code (JIT) before running them; for the
// statements of a conversion over a day of lines that compilation costs more than the
// statements themselves. Switched off on the connection for the length of a scope.
#pragma once

class Db;

class JitOffScope {
public:
    explicit JitOffScope(Db &db);
    ~JitOffScope();
    JitOffScope(const JitOffScope &) = delete;
    JitOffScope &operator=(const JitOffScope &) = delete;

private:
    Db &m_db;
    bool m_set = false;
};
