#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <sstream>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../model/FileBytes.h"
#include "../model/TempDir.h"
#include "model/FileNotices.h"
#include "app/Startup.h"
#include "model/DataPaths.h"
#include "model/ProfileFile.h"

// Odd settings folders made for real: permissions, folders in place of files,
// a copied folder whose original is gone, a disk that is full. Every file is
// compared byte for byte afterwards.

namespace zavrin::test {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

// Every file under `folder` with its bytes, by path relative to it.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = readBytes(entry.path());
    }
    return files;
}

// Runs `body` in a child process that has no power over permissions: as
// "nobody" when the tests run as root (chmod means nothing to root), as the
// same user otherwise. Returns what the body returned, or nullopt when the
// privileges could not be dropped.
std::optional<std::string> asUnprivileged(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(2);
        }
        const std::string out = body();
        const ssize_t written = ::write(fds[1], out.data(), out.size());
        ::_exit(written == static_cast<ssize_t>(out.size()) ? 0 : 3);
    }
    ::close(fds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

std::string describe(const FileProblem& p) {
    return p ? p.path.filename().string() + ":" + englishReason(p) : std::string("none");
}

// The problems of a start-up, one per line, then what the saves met.
std::string startAndSave(const fs::path& program, const fs::path& data) {
    std::ostringstream out;
    out << "folder=" << describe(prepareDataFolder(data)) << "\n";
    AppModel model(data);
    model.load(LoadOptions{1.0F, program, false});
    for (const FileProblem& p : model.unreadableFiles()) out << "unreadable=" << describe(p) << "\n";
    out << "startWrite=" << describe(model.store.loadWriteProblem()) << "\n";
    out << "text1=" << model.language.languageText(1) << "\n";
    out << "save=" << describe(model.store.saveAll()) << "\n";
    out << "library=" << describe(model.saveLibrary()) << "\n";
    return out.str();
}

class SettingsFolder : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(program.path() / "config");
        writeLines(dataPath(program.path(), kEnglishLanguageFile), {"[Setting]", "0=English", "1=Settings"});
        writeLines(dataPath(program.path(), kOtherLanguageFile), {"[Setting]", "0=中文", "1=设置"});
    }

    // A data folder as a first start leaves it, with a macro in the library.
    fs::path FreshData(const std::string& name = "data") {
        const fs::path data = root.path() / name;
        EXPECT_FALSE(prepareDataFolder(data));
        installLanguageFiles(program.path(), data, false);
        AppModel model(data);
        model.load(LoadOptions{1.0F, program.path(), false});
        model.library.addMacro(kNoLocation, "Saved macro");
        EXPECT_FALSE(model.saveLibrary());
        return data;
    }

    static fs::path Config(const fs::path& data, std::string_view name) {
        return dataPath(data, "config\\" + std::string(name));
    }

    TempDir program;
    TempDir root;
};

TEST_F(SettingsFolder, AnUnreadableConfigIsLeftAloneAndRewritesNothing) {
    const fs::path data = FreshData();
    // Left owned by root after a start with sudo, for instance.
    const fs::path config = Config(data, "config.ini");
    fs::permissions(config, fs::perms::none);
    fs::permissions(data, fs::perms::all);
    fs::permissions(data / "config", fs::perms::all);
    const auto before = snapshot(data);
    struct stat was {};
    ::stat(config.c_str(), &was);

    const auto result = asUnprivileged([&] { return startAndSave(program.path(), data); });
    ASSERT_TRUE(result) << "cannot run without root's powers";
    EXPECT_NE(result->find("unreadable=config.ini:permission denied\n"), std::string::npos) << *result;
    EXPECT_NE(result->find("startWrite=none\n"), std::string::npos) << *result;
    // The saves of the run go through for every other file and skip this one.
    EXPECT_NE(result->find("save=none\n"), std::string::npos) << *result;

    EXPECT_EQ(snapshot(data), before);
    struct stat is {};
    ::stat(config.c_str(), &is);
    EXPECT_EQ(is.st_ino, was.st_ino) << "config.ini was replaced";
    EXPECT_EQ(is.st_mode & 07777, 0u);
}

TEST_F(SettingsFolder, AFolderInPlaceOfAnyFileIsAnUnreadableFileAndNothingThrows) {
    for (const std::string name :
         {"config.ini", "default2.psf", "MacroLibraryFile.mlf", "Lan_EN.txt", "LanSetting.ini"}) {
        SCOPED_TRACE(name);
        const fs::path data = FreshData(name);
        const fs::path file = Config(data, name);
        fs::remove(file);
        fs::create_directories(file / "inside");
        const auto before = snapshot(data);

        const std::string result = startAndSave(program.path(), data);
        EXPECT_NE(result.find("unreadable=" + name + ":a folder is in its place\n"), std::string::npos) << result;
        // The window still has its texts, from the program's own copy if need be.
        EXPECT_NE(result.find("text1=Settings\n"), std::string::npos) << result;
        EXPECT_NE(result.find("save=none\n"), std::string::npos) << result;
        EXPECT_NE(result.find("library=" + std::string(name == "MacroLibraryFile.mlf" ? "MacroLibraryFile.mlf:it could not be read, so it is left as it is" : "none") + "\n"),
                  std::string::npos)
            << result;
        EXPECT_TRUE(fs::is_directory(file / "inside"));
        EXPECT_EQ(snapshot(data), before);
    }
}

TEST_F(SettingsFolder, AFolderThatCannotBeCreatedStillGivesTextsAndWritesNothing) {
    const fs::path parent = root.path() / "locked";
    fs::create_directories(parent);
    fs::permissions(parent, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const fs::path data = parent / "data";

    const auto result = asUnprivileged([&] { return startAndSave(program.path(), data); });
    ASSERT_TRUE(result) << "cannot run without root's powers";
    EXPECT_NE(result->find("folder=data:permission denied\n"), std::string::npos) << *result;
    EXPECT_NE(result->find("text1=Settings\n"), std::string::npos) << *result;
    // The first start's defaults could not be written: they wait to be saved.
    EXPECT_NE(result->find("startWrite=config.ini:its folder does not exist\n"), std::string::npos) << *result;
    EXPECT_NE(result->find("save=config.ini:its folder does not exist\n"), std::string::npos) << *result;
    EXPECT_FALSE(fs::exists(data));
}

TEST_F(SettingsFolder, AReadOnlyFolderReadsEverythingAndEverySaveSaysWhy) {
    const fs::path data = FreshData();
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    for (const auto& entry : fs::directory_iterator(data / "config")) {
        fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    fs::permissions(data / "config", readOnly);
    const auto before = snapshot(data);

    const auto result = asUnprivileged([&] { return startAndSave(program.path(), data); });
    ASSERT_TRUE(result) << "cannot run without root's powers";
    EXPECT_NE(result->find("folder=config:permission denied\n"), std::string::npos) << *result;
    EXPECT_EQ(result->find("unreadable="), std::string::npos) << *result;
    EXPECT_NE(result->find("save=config.ini:permission denied\n"), std::string::npos) << *result;
    EXPECT_NE(result->find("library=MacroLibraryFile.mlf:permission denied\n"), std::string::npos) << *result;
    EXPECT_EQ(snapshot(data), before);
    fs::permissions(data / "config", fs::perms::all);
}

TEST_F(SettingsFolder, ACopiedFolderKeepsToItselfOnceTheOriginalIsGone) {
    const fs::path original = FreshData("original");
    {
        AppModel model(original);
        model.load(LoadOptions{1.0F, program.path(), false});
        model.store.profiles[1].keys[0].name = "Copied along";
        ASSERT_FALSE(model.store.saveAll());
    }
    const fs::path copy = root.path() / "copy";
    fs::copy(original, copy, fs::copy_options::recursive);
    fs::remove_all(original);

    AppModel model(copy);
    model.load(LoadOptions{1.0F, program.path(), false});
    EXPECT_EQ(model.store.profiles[1].keys[0].name, "Copied along");
    for (int i = 0; i < kProfileCount; ++i) EXPECT_EQ(model.store.settings.profileSlotPath(i), defaultProfilePath(copy, i));
    // config.ini says so at once, in its usual form.
    EXPECT_EQ(linesOf(Config(copy, "config.ini"))[12], "ProfileSlot0URL=" + pathToUtf8(defaultProfilePath(copy, 0)));
    model.store.profiles[1].keys[0].name = "Changed in the copy";
    ASSERT_FALSE(model.store.saveAll());
    EXPECT_FALSE(fs::exists(original));
    EXPECT_NE(readBytes(defaultProfilePath(copy, 1)).find(utf16le("Changed in the copy")), std::string::npos);
}

TEST(SlotPaths, AnotherFoldersConfigOrAMissingFileComeHome) {
    TempDir data;
    fs::create_directories(data.path() / "config");
    writeBytes(data.path() / "config" / "mine.psf", "x");
    const fs::path home = data.path() / "config";
    EXPECT_EQ(resolveSlotPath("/gone/KestruneData20240412A/config/default3.psf", data.path(), 3),
              home / "default3.psf");
    EXPECT_EQ(resolveSlotPath("C:\\Users\\Ann\\AppData\\Roaming\\KestruneData20240412A\\config\\mine.psf",
                              data.path(), 1),
              home / "mine.psf");
    EXPECT_EQ(resolveSlotPath("/gone/elsewhere/p.psf", data.path(), 2), home / "default2.psf");
    EXPECT_EQ(resolveSlotPath("", data.path(), 4), home / "default4.psf");
    // A profile kept outside any config folder that is there stays where it is.
    writeBytes(data.path() / "kept.psf", "x");
    EXPECT_EQ(resolveSlotPath(pathToUtf8(data.path() / "kept.psf"), data.path(), 0), data.path() / "kept.psf");
}

TEST_F(SettingsFolder, AFullDiskKeepsEveryFileAndSaysTheDiskIsFull) {
    const fs::path data = FreshData();
    const auto before = snapshot(data);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // Past the limit a write fails with EFBIG instead of ending the process,
        // as on a disk with no room left.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap{512, 512};
        ::setrlimit(RLIMIT_FSIZE, &cap);
        AppModel model(data);
        model.load(LoadOptions{1.0F, program.path(), false});
        model.store.profiles[0].keys[0].name = "Does not fit";
        const std::string out = describe(model.store.saveAll()) + "|" + describe(model.saveLibrary());
        const ssize_t written = ::write(fds[1], out.data(), out.size());
        ::_exit(written > 0 ? 0 : 1);
    }
    ::close(fds[1]);
    char buffer[512] = {};
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer - 1);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0))),
              "config.ini:the disk is full|MacroLibraryFile.mlf:the disk is full");
    EXPECT_EQ(snapshot(data), before);
}

TEST(FileNoticesTest, TheStartNoticeComesOnceAndSaveFailuresAfterItStayQuiet) {
    LanguageTable english;  // no texts: the built-in English ones stand in
    FileNotices notices;
    const FileProblem denied{"/home/ann/.config/KestruneData20240412A", FileError::AccessDenied, {}};
    notices.noteStartProblems(denied, {});
    const auto text = notices.takeStartNotice(english);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("/home/ann/.config/KestruneData20240412A"), std::string::npos);
    EXPECT_NE(text->find("(permission denied)"), std::string::npos);
    EXPECT_FALSE(notices.takeStartNotice(english));
    EXPECT_FALSE(notices.saveFailureNotice(english, FileProblem{"/x/config.ini", FileError::DiskFull, {}}));
}

TEST(FileNoticesTest, OnlyTheFirstFailedSaveIsToldInTheWindowsLanguage) {
    LanguageTable chinese;
    chinese.setText(FileNoticeText::SaveFailed, "无法保存到 {file}（{reason}）");
    chinese.setText(FileNoticeText::DiskFull, "磁盘已满");
    FileNotices notices;
    notices.noteStartProblems({}, {});
    EXPECT_FALSE(notices.takeStartNotice(chinese));
    const auto first = notices.saveFailureNotice(chinese, FileProblem{"/d/config/config.ini", FileError::DiskFull, {}});
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, "无法保存到 /d/config/config.ini（磁盘已满）");
    EXPECT_FALSE(notices.saveFailureNotice(chinese, FileProblem{"/d/config/config.ini", FileError::DiskFull, {}}));
}

TEST(FileNoticesTest, SeveralUnreadableFilesAreNamedInOneNotice) {
    LanguageTable english;
    const std::string text = unreadableNoticeText(
        english, {FileProblem{"/d/config/config.ini", FileError::IsFolder, {}},
                  FileProblem{"/d/config/default1.psf", FileError::Other, "Input/output error"}});
    EXPECT_EQ(text,
              "/d/config/config.ini could not be read (a folder is in its place). The program uses defaults in "
              "its place this time and leaves the file as it is. Also not read: default1.psf.");
}

}  // namespace
}  // namespace zavrin::test
