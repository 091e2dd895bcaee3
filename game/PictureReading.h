#pragma once
// A picture file read on a worker thread of its own, from the moment it is made: the picture
// named on the command line is read this way while the windows are made, and every picture the
// player opens while the game goes on. The one who waits for it may wait a while or be called
// once it is read; the worker is joined, never left behind.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// The picture with its shorter side brought down to `side` pixels (0: as it is), proportions
// kept: a board of that side shows no more of it.
QImage PictureWithin(const QImage& picture, int side);

// Reads the picture in a file named in the file system's own bytes: a null image and why, when it
// cannot be used. ReadLocalPictureFile (framework/PictureFile.h) unless told otherwise.
using TPictureReader = std::function<QImage(const QByteArray& localPath, QString* error)>;

class TPictureReading {
public:
    // Starts reading the file, named in the file system's own bytes; a larger picture is brought
    // down to `side` there (PictureWithin).
    explicit TPictureReading(QByteArray localPath, int side = 0, TPictureReader read = {});
    ~TPictureReading();  // waits for the worker
    TPictureReading(const TPictureReading&) = delete;
    TPictureReading& operator=(const TPictureReading&) = delete;

    const QByteArray& LocalPath() const { return localPath_; }
    // Whether the file is read within `bound` (at once: whether it is read now).
    bool WaitFor(std::chrono::milliseconds bound);
    // Waits until the worker has ended, `done` (WhenRead) called.
    void Wait();
    // Calls `done` once the file is read: on the worker, or here and now when it is read already.
    void WhenRead(std::function<void()> done);
    // Once read: the picture, or a null one and why it cannot be used.
    const QImage& Picture() const { return picture_; }
    const QString& Error() const { return error_; }

private:
    const QByteArray localPath_;
    QImage picture_;
    QString error_;
    std::mutex mutex_;
    std::condition_variable readSignal_;
    bool read_ = false;
    std::function<void()> done_;
    std::jthread worker_;  // last: it starts once everything above is there
};
