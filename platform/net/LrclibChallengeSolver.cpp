#include "platform/net/LrclibChallengeSolver.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int kHashBytes = 32;
// Progress is published every so many tries, so the counter costs nothing measurable.
constexpr quint64 kReportEvery = 4096;
constexpr quint64 kNone = ~quint64(0);

// Writes the decimal digits of n and returns how many.
qsizetype decimal(quint64 n, char* out)
{
    char reversed[24];
    qsizetype length = 0;
    do {
        reversed[length++] = char('0' + n % 10);
        n /= 10;
    } while (n);
    for (qsizetype i = 0; i < length; ++i)
        out[i] = reversed[length - 1 - i];
    return length;
}

bool atMost(QByteArrayView hash, const QByteArray& target)
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
                                                    const std::atomic<bool>& cancel, std::atomic<quint64>& tried,
                                                    int threads)
{
    if (target.size() != kHashBytes)
        return std::nullopt;
    const quint64 step = quint64(std::max(1, threads));
    std::atomic<bool> done{false};
    std::atomic<quint64> found{kNone};
    std::vector<std::thread> helpers;
    for (quint64 first = 1; first < step; ++first)
        helpers.emplace_back([&, first] { TryStride(prefix, target, first, step, cancel, done, tried, found); });
    TryStride(prefix, target, 0, step, cancel, done, tried, found);
    for (std::thread& helper : helpers)
        helper.join();
    if (found == kNone)
        return std::nullopt;
    return found.load();
}

void LrclibChallengeSolver::TryStride(const QByteArray& prefix, const QByteArray& target, quint64 first,
                                      quint64 step, const std::atomic<bool>& cancel, std::atomic<bool>& done,
                                      std::atomic<quint64>& tried, std::atomic<quint64>& found)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    // The loop allocates nothing: the nonce's digits are written into a buffer of its own and
    // the hash is compared where it lies.
    char digits[24];
    quint64 count = 0;
    for (quint64 nonce = first;; nonce += step) {
        if (++count % kReportEvery == 0) {
            tried.fetch_add(kReportEvery, std::memory_order_relaxed);
            if (cancel.load(std::memory_order_relaxed) || done.load(std::memory_order_relaxed))
                return;
        }
        hash.reset();
        hash.addData(prefix);
        hash.addData(QByteArrayView(digits, decimal(nonce, digits)));
        if (atMost(hash.resultView(), target)) {
            if (!done.exchange(true))
                found = nonce;
            return;
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
