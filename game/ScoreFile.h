#pragma once
// The score file on disk, kept by the rules of the user's files (files/UserFile.h): anything found
// under the name that is not a small regular file of the player's own is left alone, and the game
// keeps its table in memory for the run; a file whose owner took away its write permission is
// read and never written. Several windows of the game may share the file: recording a place and
// clearing read the file as it is then, under a lock, put the change into it and write it back,
// so that no window loses another's record. A change that cannot be written yet is kept and tried
// again at the next change and at Exit.

#include "game/ScoreTable.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <optional>
#include <vector>

struct TFileStatus;

// Why a file of the player's was not read or written, as the player is told.
QString FileProblemText(const TFileStatus& status);
// What the player can do about that file (`name`, as shown), a sentence; empty where nothing
// but waiting helps.
QString FileAdviceText(const TFileStatus& status, const QString& name);

class TScoreFile {
    Q_DECLARE_TR_FUNCTIONS(TScoreFile)

public:
    // The "Mozik.ini" of the start folder when it is there and may be read, otherwise the one of
    // the data folder; without a data folder the table lives in memory. A start folder's file
    // that may not be used is reported in Problem().
    static TScoreFile Locate(const QString& startDir, const std::optional<QString>& dataDir);
    // The game's own folder in the player's data folder, where there is one.
    static std::optional<QString> DataFolder();
    explicit TScoreFile(const QString& path);

    // The file's name as the player knows it; empty where the table lives in memory.
    const QString& Path() const { return path_; }

    // Reads the table at the start; where there is no file, the default one.
    TScoreTable Load();
    // Where Load found no file, writes the default one with its folder, unless a file is there by
    // then (a failure is no error: the defaults stand). The game does this once its window is on
    // the screen.
    void CreateIfMissing();
    // The file is never written: left alone, write-protected, or there is none.
    bool Refused() const { return inMemory_; }
    // Not empty: what to tell the player once about the file; it names the file(s) concerned.
    QString Problem() const;

    // The table as the file holds it now, with this window's unsaved changes in it.
    TScoreTable Table();
    // Puts a place into the table as the file holds it now (a time that no longer earns a place
    // changes nothing), or empties every table, and writes the file. *table is the table then.
    // False when the change could not be written: it is kept for the next try, and *tell says
    // why when the player has not heard of it yet (empty otherwise). Written all the same past a
    // lock file that cannot be used, *tell names that file the first time.
    bool Place(int size, const QByteArray& name, int seconds, TScoreTable* table, QString* tell);
    bool Clear(TScoreTable* table, QString* tell);
    // Writes the changes kept from failed tries, if any (nothing else is written). False when
    // they could not be written; *error says why, unless the player has been told so already.
    bool SaveKept(QString* error);

    // How long a change waits for another window that holds the file.
    int LockWaitMs = 1000;

private:
    struct TChange {
        bool ClearAll = false;
        int Size = 0;
        QByteArray Name;
        int Seconds = 0;
    };
    bool Commit(const TChange& change, TScoreTable* table, QString* tell);
    // Reads, applies the kept changes and writes, under the lock; clears what was kept on success.
    bool WriteKept(QString* failure);
    void Apply(TScoreTable& table) const;

    QString path_;
    bool inMemory_ = false;   // the table lives in memory_ only
    bool missing_ = false;    // Load found no file, and none has been written since
    bool toldKept_ = false;   // the player knows a change is kept
    QString toldFailure_;     // and why
    bool toldLock_ = false;   // the player knows the lock file cannot be used
    QString lockNotice_;      // to be told: a change was written past that lock file
    TScoreTable memory_;      // the table last read or written
    std::vector<TChange> kept_;
    QString locateProblem_;   // the start folder's file was left alone
    QString loadProblem_;     // this file was left alone, or is only read
};
