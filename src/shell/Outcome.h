// What an action tells the screen or batch command that asked for it. By the time it is
// returned every message has been shown; failures below it travel as exceptions (DbError and
// kin) and are turned into an outcome, after their message, where an action ends.
#pragma once

// The formatter takes the attribute for a braced initialiser and glues the brace on.
// clang-format off
enum class [[nodiscard]] Outcome {
    Done,      // did what was asked
    Unchanged, // nothing needed doing; nothing was said
    Declined,  // the operator answered No
    Refused,   // bad input, a rule, or nothing to do (after its message)
    Failed,    // a step failed (after its message); nothing half-done is kept
};
// clang-format on
