#include "support/unprivileged.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hayate::test {

void asUnprivilegedUser(const std::filesystem::path& folder, const std::function<void()>& body) {
    if (::geteuid() != 0) {
        body();
        return;
    }
    const auto id = static_cast<uid_t>(kUnprivilegedId);
    std::error_code ec;
    ASSERT_EQ(::chown(folder.c_str(), id, id), 0);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec))
        ASSERT_EQ(::lchown(entry.path().c_str(), id, id), 0) << entry.path();
    ASSERT_FALSE(ec) << ec.message();

    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The group first: without root the user could no longer change it.
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(id) == 0 && ::setuid(id) == 0;
        if (!dropped || ::geteuid() == 0) ::_exit(2);
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the unprivileged part ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << (WEXITSTATUS(status) == 2 ? "could not drop to the unprivileged user"
                                     : "an expectation failed as the unprivileged user");
}

}  // namespace hayate::test
