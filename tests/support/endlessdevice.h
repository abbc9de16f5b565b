#pragma once

#include <QIODevice>

#include <algorithm>
#include <cstring>

// A stream that does not end for any reader with a limit: `head` once, then
// `pattern` over and over. It counts what was read, so a test can tell
// whether a reader stopped early; a reader without a limit meets an end after
// 32 MiB, so that the test fails instead of hanging.
class EndlessDevice : public QIODevice {
public:
    EndlessDevice(QByteArray head, QByteArray pattern)
        : head_(std::move(head)), pattern_(std::move(pattern)) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    qint64 bytesServed() const { return served_; }

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        maxSize = std::min(maxSize, kSafetyEnd - served_);
        for (qint64 done = 0; done < maxSize;) {
            const bool inHead = served_ < head_.size();
            const QByteArray &from = inHead ? head_ : pattern_;
            const qint64 at = inHead ? served_ : (served_ - head_.size()) % pattern_.size();
            const qint64 n = std::min(maxSize - done, from.size() - at);
            std::memcpy(data + done, from.constData() + at, static_cast<std::size_t>(n));
            done += n;
            served_ += n;
        }
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    static constexpr qint64 kSafetyEnd = qint64(32) << 20;
    QByteArray head_;
    QByteArray pattern_;
    qint64 served_ = 0;
};
