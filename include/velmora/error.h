// Runtime errors: the one exception type of the library.
#pragma once

#include <exception>
#include <string>

namespace velmora {

// The runtime error numbers the library raises, named for what they mean to the caller.
namespace err {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kSubscript = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kInvalidNull = 94;
inline constexpr int kObjectRequired = 424;
inline constexpr int kNoMember = 438;
inline constexpr int kNamedArgNotFound = 448;
inline constexpr int kArgNotOptional = 449;
inline constexpr int kWrongArgCount = 450;
inline constexpr int kInvalidPicture = 481;
}  // namespace err

// Standard description of a runtime error number, in Spanish or in English.
// StandardDescription(13, true) == u"No coinciden los tipos"
std::u16string StandardDescription(int number, bool spanish);

// A numbered runtime error. The description is the standard one unless the raiser gave its own
// (the library's windows give a sentence of their own, e.g. when no display is available).
class Error : public std::exception {
 public:
  explicit Error(int number) : number_(number) {}
  Error(int number, std::u16string description)
      : number_(number), custom_(std::move(description)) {}

  int number() const noexcept { return number_; }
  std::u16string description(bool spanish) const;
  const char* what() const noexcept override;

 private:
  int number_;
  std::u16string custom_;
  mutable std::string what_;
};

}  // namespace velmora
