#include "game/PictureReading.h"

#include "framework/PictureFile.h"

TPictureReading::TPictureReading(QByteArray localPath, int side, TPictureReader read)
    : TPictureReading(localPath, [localPath, side, read = std::move(read)](QString* error) {
          return read ? PictureWithin(read(localPath, error), side) : ReadLocalPictureFile(localPath, error, side);
      })
{
}

std::unique_ptr<TPictureReading> TPictureReading::FromBytes(QByteArray bytes, int side)
{
    // The bytes go with the reading, let go once decoded.
    auto read = [bytes = std::move(bytes), side](QString* error) { return ReadPictureBytes(bytes, error, side); };
    return std::unique_ptr<TPictureReading>(new TPictureReading({}, std::move(read)));
}

TPictureReading::TPictureReading(QByteArray localPath, std::function<QImage(QString* error)> read)
    : localPath_(std::move(localPath))
{
    worker_ = std::jthread([this, read = std::move(read)]() mutable {
        QString error;
        QImage picture = read(&error);
        read = nullptr;  // lets go of bytes read from memory
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
