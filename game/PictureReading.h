#pragma once
// A picture file read on a worker thread of its own, from the moment it is made: the picture
// named on the command line is read this way while the windows are made, and every picture the
// player opens while the game goes on; image data pasted or dropped, which has no file, is read
// the same way from its bytes. The one who waits for it may wait a while or be called once it is
// read; the worker is joined, never left behind.

#include "framework/PictureFile.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Reads the picture in a file named in the file system's own bytes: a null image and why, when it
// cannot be used.
using TPictureReader = std::function<QImage(const QByteArray& localPath, QString* error)>;

class TPictureReading {
public:
    // Starts reading the file, named in the file system's own bytes; a larger picture is brought
    // down to `side` there, and a vector picture drawn at that size (ReadLocalPictureFile). A
    // reader of its own reads the file as it must, and its picture is brought down to `side` after.
    explicit TPictureReading(QByteArray localPath, int side = 0, TPictureReader read = {});
    // Starts reading a picture from bytes in memory, which have no file.
    static std::unique_ptr<TPictureReading> FromBytes(QByteArray bytes, int side = 0);
    ~TPictureReading();  // waits for the worker
    TPictureReading(const TPictureReading&) = delete;
    TPictureReading& operator=(const TPictureReading&) = delete;

    // The file's name; empty for bytes from memory.
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
    TPictureReading(QByteArray localPath, std::function<QImage(QString* error)> read);

    const QByteArray localPath_;
    QImage picture_;
    QString error_;
    std::mutex mutex_;
    std::condition_variable readSignal_;
    bool read_ = false;
    std::function<void()> done_;
    std::jthread worker_;  // last: it starts once everything above is there
};
