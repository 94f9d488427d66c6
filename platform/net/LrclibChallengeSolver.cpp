#include "platform/net/LrclibChallengeSolver.h"

#include <QCryptographicHash>

#include <cmath>
#include <cstring>

namespace {

constexpr int kHashBytes = 32;
// Progress is published every so many tries, so the counter costs nothing measurable.
constexpr quint64 kReportEvery = 4096;

bool atMost(const QByteArray& hash, const QByteArray& target)
{
    return target.size() == kHashBytes && hash.size() == kHashBytes &&
           std::memcmp(hash.constData(), target.constData(), kHashBytes) <= 0;
}

} // namespace

bool LrclibChallengeSolver::Meets(const QByteArray& prefix, quint64 nonce, const QByteArray& target)
{
    return atMost(QCryptographicHash::hash(prefix + QByteArray::number(nonce), QCryptographicHash::Sha256), target);
}

std::optional<quint64> LrclibChallengeSolver::Solve(const QByteArray& prefix, const QByteArray& target,
                                                    const std::atomic<bool>& cancel, std::atomic<quint64>& tried)
{
    if (target.size() != kHashBytes)
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (quint64 nonce = 0;; ++nonce) {
        if (nonce % kReportEvery == 0) {
            tried.store(nonce, std::memory_order_relaxed);
            if (cancel.load(std::memory_order_relaxed))
                return std::nullopt;
        }
        hash.reset();
        hash.addData(prefix);
        hash.addData(QByteArray::number(nonce));
        if (atMost(hash.result(), target)) {
            tried.store(nonce + 1, std::memory_order_relaxed);
            return nonce;
        }
    }
}

double LrclibChallengeSolver::ExpectedTries(const QByteArray& target)
{
    if (target.size() != kHashBytes)
        return 0;
    // The target as a fraction of 2^256, from its leading bytes; a double's precision is plenty.
    double fraction = 0;
    for (int i = kHashBytes - 1; i >= 0; --i)
        fraction = (fraction + quint8(target[i])) / 256.0;
    return fraction > 0 ? 1.0 / fraction : std::ldexp(1.0, 256);
}
