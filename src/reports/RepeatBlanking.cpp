#include "RepeatBlanking.h"

void RepeatBlanking::restart()
{
    m_remembered.fill(std::nullopt);
}

std::array<QString, RepeatBlanking::kColumns>
RepeatBlanking::line(const std::array<QString, kColumns> &values)
{
    std::array<QString, kColumns> printed;
    bool leftPrinted = false;
    for (int c = 0; c < kColumns; ++c) {
        const bool print = leftPrinted || !m_remembered[c] || *m_remembered[c] != values[c];
        if (print) {
            printed[c] = values[c];
            for (int right = c + 1; right < kColumns; ++right)
                m_remembered[right] = std::nullopt;
            leftPrinted = true;
        }
        m_remembered[c] = values[c];
    }
    return printed;
}
