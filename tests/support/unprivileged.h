// Runs part of a test as a user without privileges. Root opens read-only files
// and writes into write-protected folders, so checks of those refusals would
// prove nothing when the suite runs as root, as it does in CI.
#pragma once

#include <filesystem>
#include <functional>

namespace hayate::test {

// The user nobody: what a root run drops to.
constexpr unsigned kUnprivilegedId = 65534;

// As root: hands `folder` and everything in it to the unprivileged user and
// runs `body` in a child process under that user; otherwise runs `body` in
// place. The test fails when an expectation inside `body` fails.
void asUnprivilegedUser(const std::filesystem::path& folder, const std::function<void()>& body);

}  // namespace hayate::test
