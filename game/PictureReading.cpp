#include "game/PictureReading.h"

#include "framework/PictureFile.h"

#include <algorithm>

QImage PictureWithin(const QImage& picture, int side)
{
    const int shorter = std::min(picture.width(), picture.height());
    if (side <= 0 || shorter <= side)
        return picture;
    const double scale = double(side) / shorter;
    const QSize size(std::max(1, qRound(picture.width() * scale)), std::max(1, qRound(picture.height() * scale)));
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

TPictureReading::TPictureReading(QByteArray localPath, int side, TPictureReader read) : localPath_(std::move(localPath))
{
    if (!read)
        read = ReadLocalPictureFile;
    worker_ = std::jthread([this, side, read = std::move(read)] {
        QString error;
        QImage picture = PictureWithin(read(localPath_, &error), side);
        std::function<void()> done;
        {
            const std::lock_guard lock(mutex_);
            picture_ = std::move(picture);
            error_ = std::move(error);
            read_ = true;
            done = std::move(done_);
        }
        readSignal_.notify_all();
        if (done)
            done();
    });
}

TPictureReading::~TPictureReading()
{
    Wait();
}

bool TPictureReading::WaitFor(std::chrono::milliseconds bound)
{
    std::unique_lock lock(mutex_);
    return readSignal_.wait_for(lock, bound, [this] { return read_; });
}

void TPictureReading::Wait()
{
    if (worker_.joinable())
        worker_.join();
}

void TPictureReading::WhenRead(std::function<void()> done)
{
    {
        const std::lock_guard lock(mutex_);
        if (!read_) {
            done_ = std::move(done);
            return;
        }
    }
    done();
}
