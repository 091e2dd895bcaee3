#include "tests/game/HostileFiles.h"

#include "tests/support/CoreSupport.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

const QByteArray kVictim = "a file of someone's\n";

// The file becomes a link to a file beside it; the link, or else that file, is another user's.
void LinkToVictim(const QString& file, bool othersLink)
{
    const QString victim = QFileInfo(file).dir().filePath("victim");
    WriteFile(victim, kVictim);
    ASSERT_EQ(symlink("victim", Name(file)), 0);
    ASSERT_EQ(lchown(Name(othersLink ? file : victim), kNobody, kNobody), 0);
}

} // namespace

const std::vector<THostileFile> kHostileFiles = {
    {"Pipe", TNeeds::Anyone, [](const QString& file) { ASSERT_EQ(mkfifo(Name(file), 0600), 0); }},
    {"LinkToDevice", TNeeds::Anyone, [](const QString& file) { ASSERT_EQ(symlink("/dev/zero", Name(file)), 0); }},
    {"Folder", TNeeds::Anyone, [](const QString& file) { ASSERT_TRUE(QDir().mkdir(file)); }},
    {"DanglingLink", TNeeds::Anyone, [](const QString& file) { ASSERT_EQ(symlink("none", Name(file)), 0); }},
    {"OneByteTooLarge", TNeeds::Anyone, [](const QString& file) { WriteFile(file, kVictim.leftJustified(64 * 1024 + 1, '\n')); }},
    {"OthersLinkToOwnFile", TNeeds::Root, [](const QString& file) { LinkToVictim(file, true); }},
    {"OwnLinkToOthersFile", TNeeds::Root, [](const QString& file) { LinkToVictim(file, false); }},
    {"Unreadable", TNeeds::NotRoot,
     [](const QString& file) {
         WriteFile(file, kVictim);
         ASSERT_EQ(chmod(Name(file), 0), 0);
     }},
};

std::map<std::string, std::vector<long>> Snapshot(const QString& folder)
{
    std::map<std::string, std::vector<long>> entries;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        struct stat st {};
        lstat(Name(folder + '/' + name), &st);
        entries[name.toStdString()] = {long(st.st_mode), long(st.st_uid), st.st_size, long(st.st_ino), st.st_mtim.tv_sec,
                         st.st_mtim.tv_nsec, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
    }
    return entries;
}
