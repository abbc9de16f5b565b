#pragma once

#include <QIODevice>

#include <algorithm>
#include <cstring>

// A stream that never ends: `head` once, then `pattern` over and over. It
// counts what was read, so a test can tell whether a reader stopped early.
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
    QByteArray head_;
    QByteArray pattern_;
    qint64 served_ = 0;
};
