#include "game/PictureReading.h"

#include "framework/PictureFile.h"

TPictureReading::TPictureReading(QByteArray localPath, int side) : localPath_(std::move(localPath))
{
    worker_ = std::jthread([this, side] {
        QString error;
        QImage picture = ReadLocalPictureFile(localPath_, &error, side);
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
