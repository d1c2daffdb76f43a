// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the skip-on-failure rule that the game's procedures run under.
#pragma once

#include <exception>
#include <utility>

namespace platform {

// Raised by a statement that cannot complete: a platform call that failed, or arithmetic that
// overflowed or gave an invalid result. Only the skip-on-failure helpers below catch it.
class Failure : public std::exception {
 public:
  const char* what() const noexcept override { return "statement failed"; }
};

[[noreturn]] void Fail();

// Runs one statement under the skip-on-failure rule: if it fails it is abandoned, nothing is
// reported, and the caller goes on with its next statement. A variable the statement was to set
// keeps its previous value, so assign only at the end of the statement.
template <typename Statement>
void Do(Statement&& statement) noexcept {
  try {
    std::forward<Statement>(statement)();
  } catch (const Failure&) {
  }
}

// Evaluates a test under the skip-on-failure rule. A test whose evaluation fails counts as true,
// because execution resumes with the first statement that the test guards.
template <typename Test>
bool If(Test&& test) noexcept {
  try {
    return std::forward<Test>(test)();
  } catch (const Failure&) {
    return true;
  }
}

}  // namespace platform
