#pragma once
#include <QByteArray>
#include <QString>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace vem::test {

// The device end of a pseudo-terminal; the port end is slave().
class Pty {
public:
    Pty() {
        fd_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (fd_ >= 0 && ::grantpt(fd_) == 0 && ::unlockpt(fd_) == 0) slave_ = ::ptsname(fd_);
        ::fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    ~Pty() { hangUp(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    QString slave() const { return slave_; }
    void hangUp() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    void send(const QByteArray& b) { ASSERT_EQ(::write(fd_, b.constData(), b.size()), b.size()); }
    QByteArray receive(qsizetype n) {
        QByteArray got;
        (void)QTest::qWaitFor([&] {
            char buf[512];
            for (ssize_t r; (r = ::read(fd_, buf, sizeof buf)) > 0;) got.append(buf, r);
            return got.size() >= n;
        });
        return got;
    }
    // The line speed the port end set.
    speed_t speed() const {
        termios t{};
        return ::tcgetattr(fd_, &t) == 0 ? ::cfgetospeed(&t) : B0;
    }

private:
    int fd_ = -1;
    QString slave_;
};

}  // namespace vem::test
