#pragma once

#include <QByteArray>

#include <atomic>
#include <optional>

// The proof of work publish asks for: a nonce n such that SHA-256(prefix + decimal n), read as a
// 256-bit big-endian number, is at most the target.
// Solve is plain blocking work meant for a thread of its own; it stops when asked to.
class LrclibChallengeSolver
{
public:
    static bool Meets(const QByteArray& prefix, quint64 nonce, const QByteArray& target);
    // A nonce that meets the target, found on `threads` threads (each trying every threads-th
    // nonce); counts tried nonces into `tried` as it goes; no value when `cancel` was set first.
    static std::optional<quint64> Solve(const QByteArray& prefix, const QByteArray& target,
                                        const std::atomic<bool>& cancel, std::atomic<quint64>& tried, int threads = 1);
    // How many nonces a solution takes on average: 2^256 / (target + 1).
    static double ExpectedTries(const QByteArray& target);

private:
    static void TryStride(const QByteArray& prefix, const QByteArray& target, quint64 first, quint64 step,
                          const std::atomic<bool>& cancel, std::atomic<bool>& done, std::atomic<quint64>& tried,
                          std::atomic<quint64>& found);
};
