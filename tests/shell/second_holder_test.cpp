// The data file held open by a second program while the viewer runs or starts: the viewer's
// open fails with its message and the file stays byte for byte what it was; a start that
// could not read the file never replaces it with the empty list it runs with.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "model/portfolio.h"
#include "platform/user32/message_loop.h"
#include "support/viewer_fixture.h"

namespace {

// A second program that opens the data file exclusively, as every program on the device
// does, and keeps it until told to let go.
class Holder {
public:
    explicit Holder(const std::string& hostPath) {
        if (::pipe(ready_) != 0 || ::pipe(release_) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(hostPath.c_str(), O_RDWR);
            const char held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
            (void)!::write(ready_[1], &held, 1);
            char ignored;
            (void)!::read(release_[0], &ignored, 1);
            _exit(0);
        }
        char held = 'n';
        holding_ = ::read(ready_[0], &held, 1) == 1 && held == 'y';
    }
    ~Holder() { Release(); }

    bool holding() const { return holding_; }
    void Release() {
        if (pid_ <= 0) return;
        (void)!::write(release_[1], "x", 1);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        for (int fd : {ready_[0], ready_[1], release_[0], release_[1]}) ::close(fd);
    }

private:
    int ready_[2] = {-1, -1};
    int release_[2] = {-1, -1};
    pid_t pid_ = -1;
    bool holding_ = false;
};

class SecondHolderTest : public tickwell_test::ViewerTest {
protected:
    void SetUp() override {
        tickwell_test::ViewerTest::SetUp();
        StoreSettings();
        StoreRows({{u"MSFT", u"U"}, {u"IBM", u"U"}});
    }
    platform::testing::HeadlessDevice& Insert(const std::u16string& symbols) {
        return device_.Key(VK_F2).TapText(u"Insert").Type(symbols).Key(VK_RETURN);
    }
    std::string DataFile() const { return Host("/PIVData/PIVData.PIV"); }
};

TEST_F(SecondHolderTest, ASaveWhileAnotherProgramHoldsTheFileFailsWithItsMessage) {
    const auto before = FileBytes();
    std::unique_ptr<Holder> holder;
    device_
        .Check([&] {
            holder = std::make_unique<Holder>(DataFile());
            ASSERT_TRUE(holder->holding());
        })
        .TapText(u"IBM")
        .TapText(u"Delete")
        .Check([&] {
            EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Delete the selected row?",
                                                                "Could not open the quote file"}));
            EXPECT_EQ(PortfolioRowCount(), 1);  // the list keeps the change
            EXPECT_EQ(FileBytes(), before);
            holder->Release();
            messages_.clear();
        });
    Insert(u"AAPL").Check([&] {
        EXPECT_TRUE(messages_.records().empty());
        EXPECT_EQ(PortfolioRowCount(), 2);
        EXPECT_EQ(FileBytes(), ExpectedFile());  // once let go, the next save writes it all
    });
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SecondHolderTest, AStartThatCouldNotReadTheFileNeverReplacesIt) {
    const auto before = FileBytes();
    Holder holder(DataFile());
    ASSERT_TRUE(holder.holding());
    device_.Check([&] {
        EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Could not open the quote file",
                                                            "Could not find file size"}));
        EXPECT_EQ(PortfolioRowCount(), 0);
        holder.Release();
        messages_.clear();
    });
    Insert(u"AAPL").Check([&] {
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Could not write the quote file"});
        EXPECT_EQ(PortfolioRowCount(), 1);
        EXPECT_EQ(FileBytes(), before);  // MSFT and IBM are still there for the next start
    });
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

}  // namespace
