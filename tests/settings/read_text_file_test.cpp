#include "settings/settings_file.h"

#include "support/temporary_folder.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace mdCode {
namespace {

struct ReadCase {
    const char* what;
    std::string bytes;
    std::optional<std::u16string> expected;
};

void ExpectReadsAll(std::initializer_list<ReadCase> cases) {
    TemporaryFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.WriteBytes("PARAM.ini", c.bytes);
        EXPECT_EQ(ReadTextFile(folder.ProgramPath("PARAM.ini")), c.expected);
    }
}

TEST(ReadTextFile, ReadsItemsJoinedByLineEnds) {
    ExpectReadsAll({
        {"saved address", "http://votre_site_web/dossiertemp/\r\n",
         u"http://votre_site_web/dossiertemp/"},
        {"address without a line end", "http://votre_site_web/dossiertemp/",
         u"http://votre_site_web/dossiertemp/"},
        {"empty file", "", std::nullopt},
        {"empty line", "\r\n", u""},
        {"comma inside an address", "http://votre_site_web/a,b/\r\n",
         u"http://votre_site_web/a,b/"},
        {"leading spaces", "  x\r\n", u"x"},
        {"quoted item keeps commas", "\"a,b\"\r\n", u"a,b"},
        {"leading empty lines vanish", "\r\n\r\nx\r\n", u"x"},
        {"empty line after an item", "x\r\n\r\n", u"x\r\n"},
        {"several lines", "a\r\nb\r\n", u"a\r\nb"},
        {"code page", "\xE9t\xE9 \x80\r\n", u"\u00E9t\u00E9 \u20AC"},
    });
}

TEST(ReadTextFile, ReadsLoneLineEndsAndLeftovers) {
    ExpectReadsAll({
        {"lone CR", "a\rb\r", u"a\r\nb"},
        {"lone LF", "a\nb\n", u"a\r\nb"},
        {"LF CR is two line ends", "a\n\rb", u"a\r\n\r\nb"},
        {"trailing spaces are kept", "x  \r\n", u"x  "},
        {"text after a closing quote is dropped", "\"a\",b\r\nc", u"a\r\nc"},
        {"quoted item spans lines", "\"a\r\nb\"\r\n", u"a\r\nb"},
        {"unclosed quote runs to the end", "\"abc", u"abc"},
        {"spaces at the end of the file", "x\r\n   ", u"x\r\n"},
    });
}

TEST(ReadTextFile, ReadsUtf8WhereTheBytesAreUtf8AndWindows1252Otherwise) {
    ExpectReadsAll({
        {"UTF-8 from a text editor",
         "http://b\xC3\xBC"
         "cher.example/\n",
         u"http://b\u00FCcher.example/"},
        {"UTF-8 behind a byte-order mark",
         "\xEF\xBB\xBFhttp://b\xC3\xBC"
         "cher.example/\n",
         u"http://b\u00FCcher.example/"},
        {"a byte-order mark before ASCII", "\xEF\xBB\xBFhttp://x/\r\n", u"http://x/"},
        {"a byte-order mark alone", "\xEF\xBB\xBF", std::nullopt},
        {"three- and four-byte characters", "http://\xE4\xBE\x8B.jp/\xF0\x9F\x98\x80/",
         u"http://\u4F8B.jp/\U0001F600/"},
        {"Windows-1252 as the program writes it",
         "http://b\xFC"
         "cher.example/\r\n",
         u"http://b\u00FCcher.example/"},
        {"Windows-1252 behind a byte-order mark", "\xEF\xBB\xBF\xE9t\xE9", u"\u00E9t\u00E9"},
        {"one invalid byte makes it all Windows-1252", "\xC3\xBC \xFC", u"\u00C3\u00BC \u00FC"},
        {"a sequence cut by the end of the file", "caf\xC3", u"caf\u00C3"},
        {"an overlong form is not UTF-8", "\xC0\xAF", u"\u00C0\u00AF"},
        {"an encoded surrogate is not UTF-8", "\xED\xA0\x80", u"\u00ED\u00A0\u20AC"},
        {"beyond U+10FFFF is not UTF-8", "\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"},
        {"a byte-order mark inside the text is kept", "a\xEF\xBB\xBF", u"a\uFEFF"},
    });
}

// What a reading that blocks would wait for: a writer of the FIFO. Once `patience` has passed,
// one comes, writes and goes, so that a reading caught in a FIFO ends instead of hanging.
class FifoWriterAfter final {
public:
    FifoWriterAfter(std::filesystem::path fifo, std::chrono::milliseconds patience)
        : thread_([this, fifo = std::move(fifo), patience] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, patience, [this] { return finished_; })) {
                  came_ = true;
                  const int descriptor = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                  if (descriptor >= 0) {
                      EXPECT_EQ(write(descriptor, "leaked\r\n", 8), 8);
                      close(descriptor);
                  }
              }
          }) {}
    ~FifoWriterAfter() {
        {
            const std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }
    FifoWriterAfter(const FifoWriterAfter&) = delete;
    FifoWriterAfter& operator=(const FifoWriterAfter&) = delete;

    // Whether a reading waited for the writer.
    bool Came() const { return came_; }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::atomic<bool> came_ = false;
    std::thread thread_;
};

struct PlacedCase {
    const char* what;
    std::function<void(const TemporaryFolder&)> arrange;
    // The reason given after the file's name, or none when the file is read.
    std::function<std::string(const TemporaryFolder&)> refusal;
};

// The program folder is "program"; "program2" beside it and "outside" are other folders.
TEST(ReadTextFile, ReadsOnlyARegularFileOrALinkToOneInsideTheFolder) {
    const auto link = [](const std::string& target, const std::string& name = "PARAM.ini") {
        return [=](const TemporaryFolder& folder) {
            ASSERT_EQ(symlink(target.c_str(), folder.Native("program/" + name).c_str()), 0);
        };
    };
    const auto leadsTo = [](const std::string& target) {
        return [=](const TemporaryFolder& folder) {
            return "Lien symbolique qui mène hors de son dossier, vers " +
                   std::filesystem::canonical(folder.Native(target)).string();
        };
    };
    const auto refused = [](const char* reason) {
        return [=](const TemporaryFolder&) { return std::string(reason); };
    };
    const auto fifo = [](const std::string& name) {
        return [=](const TemporaryFolder& folder) {
            ASSERT_EQ(mkfifo(folder.Native("program/" + name).c_str(), 0644), 0);
        };
    };
    const PlacedCase cases[] = {
        {"a link to a file in the folder", link("other.ini"), nullptr},
        {"a link to a file in a subfolder", link("sub/other.ini"), nullptr},
        {"a link out and back in", link("../program/other.ini"), nullptr},
        {"a link to a file outside", link("../outside/secret"), leadsTo("outside/secret")},
        {"a link to a folder beginning with the folder's name", link("../program2/secret"),
         leadsTo("program2/secret")},
        {"a link to a link that leads outside",
         [&](const TemporaryFolder& folder) {
             link("../outside/secret", "relay.ini")(folder);
             link("relay.ini")(folder);
         },
         leadsTo("outside/secret")},
        {"a link to process data", link("/proc/self/status"),
         [](const TemporaryFolder&) {
             return "Lien symbolique qui mène hors de son dossier, vers /proc/" +
                    std::to_string(getpid()) + "/status";
         }},
        {"a FIFO", fifo("PARAM.ini"), refused("Ce n'est pas un fichier ordinaire")},
        {"a link to a FIFO in the folder",
         [&](const TemporaryFolder& folder) {
             fifo("pipe")(folder);
             link("pipe")(folder);
         },
         refused("Ce n'est pas un fichier ordinaire")},
        {"a link to a device", link("/dev/null"),
         refused("Lien symbolique qui mène hors de son dossier, vers /dev/null")},
        {"a dangling link", link("absent.ini"), refused("Fichier ou dossier introuvable")},
        {"no file", [](const TemporaryFolder&) {}, refused("Fichier ou dossier introuvable")},
        {"a folder",
         [](const TemporaryFolder& folder) {
             std::filesystem::create_directory(folder.Native("program/PARAM.ini"));
         },
         refused("C'est un dossier")},
    };
    for (const PlacedCase& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryFolder folder;
        for (const char* subfolder : {"program/sub", "program2", "outside"}) {
            std::filesystem::create_directories(folder.Native(subfolder));
        }
        folder.WriteBytes("program/other.ini", "http://inside/\r\n");
        folder.WriteBytes("program/sub/other.ini", "http://inside/\r\n");
        folder.WriteBytes("program2/secret", "secret\r\n");
        folder.WriteBytes("outside/secret", "secret\r\n");
        c.arrange(folder);
        const std::filesystem::path file = folder.Native("program/PARAM.ini");
        const FifoWriterAfter writer(file, std::chrono::seconds(2));
        if (c.refusal) {
            EXPECT_THAT(
                [&] { ReadTextFile(folder.ProgramPath("program/PARAM.ini")); },
                testing::ThrowsMessage<FileError>(file.string() + " : " + c.refusal(folder)));
        } else {
            EXPECT_EQ(ReadTextFile(folder.ProgramPath("program/PARAM.ini")), u"http://inside/");
        }
        EXPECT_FALSE(writer.Came()) << "the reading waited for a writer";
    }
}

TEST(ReadTextFile, OversizedFileThrowsInsteadOfFillingMemory) {
    TemporaryFolder folder;
    folder.WriteBytes("PARAM.ini", std::string((1 << 20) + 1, 'x'));
    EXPECT_THAT([&] { ReadTextFile(folder.ProgramPath("PARAM.ini")); },
                testing::ThrowsMessage<FileError>(folder.Native("PARAM.ini").string() +
                                                  " : Fichier trop grand"));
    folder.WriteBytes("PARAM.ini", std::string(1 << 20, 'x'));
    EXPECT_EQ(ReadTextFile(folder.ProgramPath("PARAM.ini"))->size(), 1u << 20);
}

} // namespace
} // namespace mdCode
