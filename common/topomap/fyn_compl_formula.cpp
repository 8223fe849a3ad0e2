#include "common/topomap/fyn_compl_formula.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "common/fyn_message.h"
#include "common/topomap/fyn_topomap.h"
#include "platform/system/file_io.h"

using namespace fyn_compl;

namespace {
constexpr std::string_view kFormulaChars = " \t1234567890.+-*/^()[]<>";
constexpr std::string_view kStartChars = " [(1234567890.-<";
constexpr std::string_view kValueChars = "-+.1234567890";
constexpr std::string_view kOperators = "+-*/^";
constexpr const char* kFileError = "ファイルエラー";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

enum class TokenKind { Number, Electrode, Channel, Operator, Open, Close };
struct Token {
  TokenKind kind;
  int position;      // of the token's first character
  float number = 0;  // Number
  int ref = 0;       // Electrode and Channel: the number written; Operator: the character
};

struct Parsed {
  int code = kAccepted;
  int position = 0;
  std::vector<Token> tokens;
};

// Reads a reference "[n]" or "<n>" starting at its opening bracket.
int ReadReference(std::string_view f, std::size_t& k, int* number, int* errorPos) {
  const char close = f[k] == '[' ? ']' : '>';
  const std::size_t first = ++k;
  for (; k < f.size() && f[k] != close; ++k) {
    const char c = f[k];
    if (IsDigit(c)) continue;
    *errorPos = static_cast<int>(k);
    if (c == '[') return kNestedBracket;
    if (kOperators.find(c) != std::string_view::npos) return kOperatorInRef;
    if (c == '.') return kPointInRef;
    if (IsBlank(c)) return kBlankInRef;
    return kParenInRef;  // ( ) < > and the other bracket
  }
  if (k >= f.size()) {
    *errorPos = static_cast<int>(first - 1);
    return kUnclosedRef;
  }
  const std::size_t digits = k - first;
  if (digits < 1 || digits > 2) {
    *errorPos = static_cast<int>(first);
    return kBadChar;
  }
  *number = std::atoi(std::string(f.substr(first, digits)).c_str());
  return kAccepted;
}

// Splits and checks a formula. electrodeIndex < 0 skips the electrode and channel range
// checks (compiling a text that the dialog has already checked).
Parsed Parse(std::string_view f, int electrodeIndex, int channelCount) {
  Parsed p;
  auto fail = [&p](int code, std::size_t pos) {
    p.code = code;
    p.position = static_cast<int>(pos);
    p.tokens.clear();
    return p;
  };
  const std::size_t prefix = std::min(f.find_first_not_of(kFormulaChars), f.size());
  if (prefix < f.size()) return fail(kBadChar, prefix);
  const std::size_t firstChar = f.find_first_not_of(" \t");
  if (firstChar != std::string_view::npos && kStartChars.find(f[firstChar]) == std::string_view::npos) {
    return fail(kBadStart, 0);
  }

  bool expectOperand = true;
  bool atGroupStart = true;  // start of the formula or just after "("
  int depth = 0;
  for (std::size_t k = 0; k < f.size();) {
    const char c = f[k];
    if (IsBlank(c)) {
      ++k;
      continue;
    }
    const std::size_t at = k;
    if (IsDigit(c) || c == '.') {
      if (!expectOperand) return fail(kBadOperator, at);
      int points = 0;
      for (; k < f.size() && (IsDigit(f[k]) || f[k] == '.'); ++k) {
        if (f[k] == '.' && ++points > 1) return fail(kPointInRef, k);
      }
      if (k - at == 1 && c == '.') return fail(kPointInRef, at);
      p.tokens.push_back({TokenKind::Number, static_cast<int>(at),
                          std::strtof(std::string(f.substr(at, k - at)).c_str(), nullptr), 0});
      expectOperand = false;
      atGroupStart = false;
      continue;
    }
    if (c == '[' || c == '<') {
      if (!expectOperand) return fail(kBadOperator, at);
      int number = 0, errorPos = 0;
      const int code = ReadReference(f, k, &number, &errorPos);
      if (code != kAccepted) return fail(code, errorPos);
      if (electrodeIndex >= 0) {
        const bool electrode = c == '[';
        const bool bad = electrode ? (number < 1 || number > fyn_topo::kElectrodes || number == electrodeIndex + 1)
                                   : (number < 1 || number > channelCount || number > fyn_topo::kMaxChannelRefs);
        if (bad) return fail(kBadChar, at + 1);
      }
      p.tokens.push_back({c == '[' ? TokenKind::Electrode : TokenKind::Channel, static_cast<int>(at), 0, number});
      ++k;  // the closing bracket
      expectOperand = false;
      atGroupStart = false;
      continue;
    }
    if (c == '(') {
      if (!expectOperand) return fail(kBadOperator, at);
      ++depth;
      p.tokens.push_back({TokenKind::Open, static_cast<int>(at)});
      atGroupStart = true;
      ++k;
      continue;
    }
    if (c == ')') {
      if (depth == 0) return fail(kUnbalanced, at);
      if (expectOperand) return fail(kBadOperator, at);
      --depth;
      p.tokens.push_back({TokenKind::Close, static_cast<int>(at)});
      ++k;
      continue;
    }
    if (c == ']' || c == '>') return fail(kUnclosedRef, at);
    // An operator; a "-" where an operand is expected at the start of a group is a sign,
    // compiled as 0 - operand.
    if (expectOperand) {
      if (c != '-' || !atGroupStart) return fail(kBadOperator, at);
      p.tokens.push_back({TokenKind::Number, static_cast<int>(at), 0.0f, 0});
    }
    p.tokens.push_back({TokenKind::Operator, static_cast<int>(at), 0, c});
    expectOperand = true;
    atGroupStart = false;
    ++k;
  }
  if (expectOperand) return fail(kBadOperator, f.size());
  if (depth != 0) return fail(kUnbalanced, f.size());
  return p;
}

int Precedence(int op) { return op == '^' ? 3 : (op == '*' || op == '/') ? 2 : 1; }

// Reverse Polish form of checked tokens; the code of a refusal and its position.
int Emit(const std::vector<Token>& tokens, std::vector<float>* constants, std::vector<std::uint8_t>* compiled,
         int* position) {
  std::vector<const Token*> ops;
  int depth = 0, maxDepth = 0;
  auto out = [&](std::uint8_t byte, bool operand) {
    compiled->push_back(byte);
    depth += operand ? 1 : -1;
    maxDepth = std::max(maxDepth, depth);
  };
  for (const Token& t : tokens) {
    switch (t.kind) {
      case TokenKind::Number:
        if (static_cast<int>(constants->size()) >= fyn_topo::kMaxConstants) {
          *position = t.position;
          return kTooManyConstants;
        }
        out(static_cast<std::uint8_t>(fyn_topo::kFirstConstantCode + constants->size()), true);
        constants->push_back(t.number);
        break;
      case TokenKind::Electrode:
        out(static_cast<std::uint8_t>(fyn_topo::kFirstElectrodeCode - 1 + t.ref), true);
        break;
      case TokenKind::Channel:
        out(static_cast<std::uint8_t>(fyn_topo::kFirstChannelCode - 1 + t.ref), true);
        break;
      case TokenKind::Open:
        ops.push_back(&t);
        break;
      case TokenKind::Close:
        while (!ops.empty() && ops.back()->kind != TokenKind::Open) {
          out(static_cast<std::uint8_t>(ops.back()->ref), false);
          ops.pop_back();
        }
        if (!ops.empty()) ops.pop_back();
        break;
      case TokenKind::Operator:
        // "^" groups from the right, the others from the left.
        while (!ops.empty() && ops.back()->kind == TokenKind::Operator &&
               (Precedence(ops.back()->ref) > Precedence(t.ref) ||
                (Precedence(ops.back()->ref) == Precedence(t.ref) && t.ref != '^'))) {
          out(static_cast<std::uint8_t>(ops.back()->ref), false);
          ops.pop_back();
        }
        ops.push_back(&t);
        break;
    }
    if (maxDepth > fyn_topo::kStackDepth) {
      *position = t.position;
      return kTooDeep;
    }
  }
  for (; !ops.empty(); ops.pop_back()) out(static_cast<std::uint8_t>(ops.back()->ref), false);
  return 0;
}

int Compile(const Parsed& p, std::vector<float>* constants, std::vector<std::uint8_t>* compiled, int* position) {
  constants->clear();
  compiled->clear();
  const int code = Emit(p.tokens, constants, compiled, position);
  if (code != 0) {
    constants->clear();
    compiled->clear();
  }
  return code;
}
}  // namespace

namespace fyn_compl {

int CheckFormula_InvalidChar(std::string_view formula, int electrodeIndex, int channelCount, int* position) {
  int pos = 0;
  const Parsed p = Parse(formula, std::max(electrodeIndex, 0), channelCount);
  int code = p.code;
  pos = p.position;
  if (code == kAccepted) {
    // The compiled form must address every number and fit the evaluation stack.
    std::vector<float> constants;
    std::vector<std::uint8_t> compiled;
    const int compileCode = Compile(p, &constants, &compiled, &pos);
    if (compileCode != 0) code = compileCode;
  }
  if (position != nullptr) *position = code == kAccepted ? 0 : pos;
  return code;
}

int CheckValue(std::string_view text, int* position) {
  const std::size_t bad = text.find_first_not_of(kValueChars);
  if (bad == std::string_view::npos) return kAccepted;
  if (position != nullptr) *position = static_cast<int>(bad);
  return -1;
}

int CreatePolish(std::string_view formula, std::vector<float>* constants, std::vector<std::uint8_t>* compiled) {
  if (constants == nullptr || compiled == nullptr) return kBadOperator;
  const Parsed p = Parse(formula, -1, 0);
  if (p.code != kAccepted) {
    constants->clear();
    compiled->clear();
    return p.code;
  }
  int pos = 0;
  return Compile(p, constants, compiled, &pos);
}

}  // namespace fyn_compl

FynComplFormula::FynComplFormula(std::vector<float>* constants, int* dataTypes, std::string* formulas, int* channels,
                                 int channelCount, float* values, std::vector<std::uint8_t>* compiled)
    : constants_(constants),
      dataTypes_(dataTypes),
      formulas_(formulas),
      channels_(channels),
      channelCount_(channelCount),
      values_(values),
      compiled_(compiled) {}

int FynComplFormula::GoThrough() {
  int failed = 0;
  for (int e = 0; e < fyn_topo::kElectrodes; ++e) {
    if (dataTypes_[e] != fyn_topo::kTypeFormula) continue;
    if (CreatePolish(formulas_[e], &constants_[e], &compiled_[e]) != 0) ++failed;
  }
  return failed;
}

namespace {
// One electrode of a standard set: a channel index, or a formula when channel is -1.
struct StandardEntry {
  int channel;
  const char* formula;
};
using StandardSet = std::array<StandardEntry, fyn_topo::kElectrodes>;

constexpr StandardSet kStandard12 = {{
    {0, ""}, {1, ""}, {-1, "([1]+[5]+[11]+[17])/4"}, {-1, "([2]+[6]+[12]+[17])/4"}, {2, ""}, {3, ""},
    {-1, "([5]+[9]+[15]+[19])/4"}, {-1, "([6]+[10]+[16]+[19])/4"}, {4, ""}, {5, ""}, {6, ""}, {7, ""},
    {-1, "([11]+[15])/2"}, {-1, "([12]+[16])/2"}, {8, ""}, {9, ""}, {10, ""}, {-1, "([5]+[6]+[17]+[19])/4"},
    {11, ""},
}};
constexpr StandardSet kStandard16 = {{
    {0, ""}, {1, ""}, {2, ""}, {3, ""}, {4, ""}, {5, ""}, {6, ""}, {7, ""}, {8, ""}, {9, ""}, {10, ""}, {11, ""},
    {-1, "([11]+[15])/2"}, {-1, "([12]+[16])/2"}, {12, ""}, {13, ""}, {14, ""}, {-1, "([5]+[6]+[17]+[19])/4"},
    {15, ""},
}};

void ApplyStandard(const StandardSet& set, int* dataTypes, int* channels, std::string* formulas) {
  for (int e = 0; e < fyn_topo::kElectrodes; ++e) {
    if (set[e].channel >= 0) {
      dataTypes[e] = fyn_topo::kTypeChannel;
      channels[e] = set[e].channel;
    } else {
      dataTypes[e] = fyn_topo::kTypeFormula;
      formulas[e] = set[e].formula;
    }
  }
}

std::string Trim(std::string_view s) {
  const std::size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string_view::npos) return {};
  const std::size_t e = s.find_last_not_of(" \t\r\n");
  return std::string(s.substr(b, e - b + 1));
}

bool ParseInt(const std::string& s, int* out) {
  const std::string t = Trim(s);
  const auto r = std::from_chars(t.data(), t.data() + t.size(), *out);
  return r.ec == std::errc() && r.ptr == t.data() + t.size() && !t.empty();
}
}  // namespace

void FynComplFormula::SetStandard12Ch() { ApplyStandard(kStandard12, dataTypes_, channels_, formulas_); }
void FynComplFormula::SetStandard16Ch() { ApplyStandard(kStandard16, dataTypes_, channels_, formulas_); }

bool FynComplFormula::WriteSettings(const std::string& path) const {
  std::string text;
  char line[64];
  for (int e = 0; e < fyn_topo::kElectrodes; ++e) {
    std::snprintf(line, sizeof line, "%s : %d,%d,\"", fyn_topo::kElectrodeNames[e], dataTypes_[e], channels_[e]);
    text += line;
    text += formulas_[e];
    std::snprintf(line, sizeof line, "\",%f\n", static_cast<double>(values_[e]));
    text += line;
  }
  if (!sys::WriteFileAtomic(path, text)) {
    fyn::ShowMessage(kFileError);
    return false;
  }
  return true;
}

bool FynComplFormula::ReadSettings(const std::string& path) {
  const std::optional<std::string> text = sys::ReadWholeFile(path);
  if (!text) {
    fyn::ShowMessage(kFileError);
    return false;
  }
  struct Entry {
    int type, channel;
    std::string formula;
    float value;
    bool present = false;
  };
  std::array<Entry, fyn_topo::kElectrodes> read{};
  std::string_view rest = *text;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    const std::size_t colon = line.find(':');
    std::string name = Trim(line.substr(0, std::min(colon, line.size())));
    if (name.empty() || name[0] == ';') continue;
    if (colon == std::string_view::npos) continue;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    int e = 0;
    for (; e < fyn_topo::kElectrodes; ++e) {
      std::string known = fyn_topo::kElectrodeNames[e];
      std::transform(known.begin(), known.end(), known.begin(), [](unsigned char c) { return std::toupper(c); });
      if (known == name) break;
    }
    if (e == fyn_topo::kElectrodes) continue;
    // type,channel,"formula",number: the formula holds no comma or quote.
    const std::string_view fields = line.substr(colon + 1);
    const std::size_t c1 = fields.find(',');
    const std::size_t c2 = c1 == std::string_view::npos ? c1 : fields.find(',', c1 + 1);
    const std::size_t q1 = c2 == std::string_view::npos ? c2 : fields.find('"', c2 + 1);
    const std::size_t q2 = q1 == std::string_view::npos ? q1 : fields.find('"', q1 + 1);
    const std::size_t c3 = q2 == std::string_view::npos ? q2 : fields.find(',', q2 + 1);
    Entry entry;
    if (c3 == std::string_view::npos || !ParseInt(std::string(fields.substr(0, c1)), &entry.type) ||
        !ParseInt(std::string(fields.substr(c1 + 1, c2 - c1 - 1)), &entry.channel) ||
        Trim(fields.substr(c2 + 1, q1 - c2 - 1)) != "") {
      fyn::ShowMessage(kFileError);
      return false;
    }
    entry.formula = std::string(fields.substr(q1 + 1, q2 - q1 - 1));
    const std::string number = Trim(fields.substr(c3 + 1));
    char* stop = nullptr;
    entry.value = std::strtof(number.c_str(), &stop);
    // A channel electrode must name a channel of this recording.
    if (number.empty() || *stop != '\0' ||
        (entry.type == fyn_topo::kTypeChannel && (entry.channel < 0 || entry.channel >= channelCount_))) {
      fyn::ShowMessage(kFileError);
      return false;
    }
    entry.present = true;
    read[e] = std::move(entry);
  }
  for (int e = 0; e < fyn_topo::kElectrodes; ++e) {
    if (!read[e].present) continue;
    dataTypes_[e] = read[e].type;
    channels_[e] = read[e].channel;
    formulas_[e] = read[e].formula;
    values_[e] = read[e].value;
  }
  return true;
}
