#pragma once
// The electrode settings of the topographic map as the formula dialogs edit them, without
// the dialogs: formula checks, compiling to the map's reverse Polish form, the standard
// sets for 12 and 16 recorded channels, and the settings file (extension "FYH").
//
// Formula syntax: numbers (digits and a decimal point), electrode references [n] (n 1..19),
// channel references <n> (n from 1), + - * / ^ and parentheses; blanks and tabs are ignored;
// a leading "-" (also just after "(") is a sign.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fyn_compl {
// Result of the checks when the text is accepted.
inline constexpr int kAccepted = 10;
// Refusals of CheckFormula_InvalidChar.
inline constexpr int kBadChar = -1;          // character, electrode or channel number refused
inline constexpr int kBadStart = -2;         // first non-blank character
inline constexpr int kNestedBracket = -3;    // "[" inside a reference
inline constexpr int kBadOperator = -4;      // operator or operand out of place, empty formula
inline constexpr int kUnbalanced = -5;       // parentheses do not pair
inline constexpr int kOperatorInRef = -6;    // operator inside a reference
inline constexpr int kParenInRef = -7;       // ( ) < > inside a reference
inline constexpr int kPointInRef = -8;       // point inside a reference, or a number with two points
inline constexpr int kBlankInRef = -9;       // blank or tab inside a reference
inline constexpr int kUnclosedRef = -10;     // reference without its closing bracket
inline constexpr int kTooManyConstants = -11;  // more numbers than the compiled form can address
inline constexpr int kTooDeep = -12;           // more pending values than the evaluation holds

// Checks a formula of electrode index (0..18) against channelCount recorded channels.
// Returns kAccepted, or a refusal code with *position at the offending character.
int CheckFormula_InvalidChar(std::string_view formula, int electrodeIndex, int channelCount, int* position);
// Checks a fixed number: only "-+.1234567890". Returns kAccepted, or -1 with *position at
// the first other character.
int CheckValue(std::string_view text, int* position);
// Compiles a formula: its numbers replace the constant array, the reverse Polish bytes the
// compiled form. Returns 0, or a refusal code of CheckFormula_InvalidChar (without the
// electrode and channel range checks) with both outputs emptied.
int CreatePolish(std::string_view formula, std::vector<float>* constants, std::vector<std::uint8_t>* compiled);
}  // namespace fyn_compl

// The caller's electrode tables (19 entries each, not owned, changed in place).
class FynComplFormula {
 public:
  FynComplFormula(std::vector<float>* constants, int* dataTypes, std::string* formulas, int* channels,
                  int channelCount, float* values, std::vector<std::uint8_t>* compiled);
  virtual ~FynComplFormula() = default;

  // Compiles the formula text of every formula electrode again. Returns the number of
  // formulas that did not compile (their compiled form is left empty).
  int GoThrough();
  // The standard sets for 12 and 16 recorded channels.
  void SetStandard12Ch();
  void SetStandard16Ch();
  // Settings file: one line per electrode "Fp1 : type,channel,\"formula\",number". Writing
  // replaces the file whole; reading changes the tables only when the whole file is valid.
  // Both return true when done.
  bool WriteSettings(const std::string& path) const;
  bool ReadSettings(const std::string& path);

  int ChannelCount() const { return channelCount_; }

 protected:
  std::vector<float>* constants_;
  int* dataTypes_;
  std::string* formulas_;
  int* channels_;
  int channelCount_;
  float* values_;
  std::vector<std::uint8_t>* compiled_;
};
