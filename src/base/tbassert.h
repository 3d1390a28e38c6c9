#pragma once

// Preconditions of the core. A violated one is a programming error: the
// program stops with the condition's text and the name of the source file.
[[noreturn]] void AssertionFailed(const char* condition, const char* file, int line);

#define TB_ASSERT(condition) \
  ((condition) ? static_cast<void>(0) : AssertionFailed(#condition, __FILE__, __LINE__))

// For the few checks whose quoted text is not the C++ expression itself.
#define TB_ASSERT_TEXT(condition, text) \
  ((condition) ? static_cast<void>(0) : AssertionFailed(text, __FILE__, __LINE__))
