#include "app/scoring/last_stage_rules.h"

#include <algorithm>

namespace {

// One pass over the tables with the conventions shared by the rules.
class RulePass {
 public:
  RulePass(const LastStageRuleContext& ctx, bool recordFlags) : ctx_(ctx), recordFlags_(recordFlags) {
    if (ctx.tables != nullptr && ctx.lastEpoch >= 0) last_ = std::min(ctx.lastEpoch, ctx.tables->EpochCount() - 1);
  }
  // Last epoch covered, -1 when there is nothing to do.
  int Last() const { return last_; }

  std::uint8_t Code(int e) const { return ctx_.tables->GetStage(ctx_.stageType, e, 0); }
  bool Is(int e, int code) const {
    const std::uint8_t c = Code(e);
    return c == code || c == code + 20;
  }
  bool IsR(int e) const { return Is(e, 2); }
  bool IsWorM(int e) const { return Is(e, 1) || Is(e, 7); }

  const LyrEpochRec& Rec(int e) const { return *ctx_.tables->Record(e); }
  bool AboveLevel(int e) const { return Rec(e).emg > ctx_.option.remEmgLevel; }
  int CountA(int e) const { return Rec(e).wave[kWaveSpindle].count; }
  int CountB(int e) const { return Rec(e).wave[kWaveDelta].count; }
  int CountC(int e) const { return Rec(e).kComplex.count; }

  // Sets epoch e to stage s, in the +20 family when the epoch is there.
  void Set(int e, std::uint8_t s) {
    const std::uint8_t current = Code(e);
    const auto stored = static_cast<std::uint8_t>(current >= 20 ? s + 20 : s);
    if (ctx_.tables->Record(e)->stage[0] == stored) return;
    ctx_.tables->SetStage(e, stored);
    if (recordFlags_ && ctx_.learningSampleMode != 0) ctx_.tables->SetEpochFlag(e, stored, 1);
  }
  void SetRange(int from, int to, std::uint8_t s) {
    for (int x = from; x <= to; ++x) Set(x, s);
  }

  const LastStageRuleContext& Ctx() const { return ctx_; }

 private:
  const LastStageRuleContext& ctx_;
  bool recordFlags_;
  int last_ = -1;
};

bool UsableTables(const LastStageRuleContext& ctx) { return ctx.tables != nullptr && ctx.tables->HasRecords(); }

}  // namespace

int ApplyLastStageRules(const LastStageRuleContext& ctx) {
  switch (ctx.option.lastStageMode) {
    case 1:
      ApplyLastStageScreening(ctx);
      return 1;
    case 2:
      ApplyStageChangeRule(ctx);
      return 2;
    default:
      return 0;
  }
}

void ApplyLastStageScreening(const LastStageRuleContext& ctx) {
  if (ctx.option.remSpindleRule != 0) ApplyREMLevelRule(ctx);
  if (ctx.option.ceaseWithRemRule != 0) ApplyREMExtensionRule(ctx);
  if (ctx.option.threeMinuteRule != 0) ApplyStage2Rule(ctx);
  if (ctx.option.wakeNeighbourRule != 0) ApplyMovementRule(ctx);
}

void ApplyREMLevelRule(const LastStageRuleContext& ctx) {
  if (!UsableTables(ctx)) return;
  RulePass p(ctx, true);
  const int L = p.Last();
  for (int e = 0; e <= L; ++e)
    if (p.IsR(e) && p.AboveLevel(e)) p.Set(e, 3);
  for (int e = 1; e <= L; ++e) {
    if (!p.IsR(e - 1) || p.AboveLevel(e)) continue;
    if (p.CountA(e) > 0) {
      if (e + 1 > L) return;
      if (p.IsR(e + 1)) p.Set(e, 2);
    } else if (p.CountB(e) == 0 && p.CountC(e) == 0) {
      p.Set(e, 2);
    }
  }
}

void ApplyREMExtensionRule(const LastStageRuleContext& ctx) {
  if (!UsableTables(ctx)) return;
  RulePass p(ctx, true);
  const int L = p.Last();
  const int type = ctx.stageType;
  auto deep = [&](int b) {
    if (type == 0) return p.Is(b, 5) || p.Is(b, 6) || p.CountB(b) > 0 || p.CountC(b) > 0;
    if (type == 1 || type == 2) return p.Is(b, 5) || p.CountB(b) > 0 || p.CountC(b) > 0;
    return false;
  };
  auto stops = [&](int x) { return p.AboveLevel(x) || p.IsWorM(x) || p.CountA(x) > 0; };
  int e = 0;
  while (e <= L) {
    if (!p.IsR(e)) {
      ++e;
      continue;
    }
    for (int b = e - 1; b >= 1; --b) {
      if (stops(b)) {
        p.SetRange(b + 1, e - 1, 2);
        break;
      }
      if (deep(b)) p.SetRange(b + 1, e - 1, 2);
    }
    int f = e + 1;
    while (f <= L && (p.Code(f) == 0 || !stops(f))) ++f;
    e = f;
  }
}

void ApplyStage2Rule(const LastStageRuleContext& ctx) {
  if (!UsableTables(ctx) || (ctx.stageType != 0 && ctx.stageType != 1) || ctx.epochSeconds <= 0) return;
  RulePass p(ctx, true);
  const int L = p.Last();
  const int n = 180 / ctx.epochSeconds;
  auto rems = [&](int j) {
    const LyrEpochRec& r = p.Rec(j);
    if (ctx.eogRightChannel == -1) return static_cast<int>(r.remsLeft);
    if (ctx.eogLeftChannel != -1) return static_cast<int>(r.remsBoth);
    return static_cast<int>(r.remsRight);
  };
  auto spindleStage2 = [&](int x) { return p.Is(x, 4) && p.CountA(x) >= 1; };
  int e = 0;
  while (e <= L) {
    if (!spindleStage2(e)) {
      ++e;
      continue;
    }
    int partner = -1;
    int j = e + 1;
    for (; j <= e + n; ++j) {
      if (j > L || rems(j) > 0) break;
      if (spindleStage2(j)) {
        partner = j;
        break;
      }
    }
    if (partner >= 0) {
      int w = -1;
      for (int x = e + 1; x <= partner - 1; ++x)
        if (p.IsWorM(x)) w = x;
      if (w >= 0) {
        p.SetRange(e + 1, w - 1, 4);
        for (int x = w; x <= partner - 1; ++x)
          if (!p.IsWorM(x)) p.Set(x, 3);
      } else {
        for (int x = e + 1; x <= partner - 1; ++x)
          if (p.Is(x, 5) || (ctx.stageType == 0 && p.Is(x, 6))) p.Set(x, 4);
      }
    }
    // Looking stopped at the partner, at an epoch with eye movements, past the window or
    // past the end: the next look starts there.
    e = j;
  }
}

void ApplyMovementRule(const LastStageRuleContext& ctx) {
  if (!UsableTables(ctx)) return;
  RulePass p(ctx, true);
  const int L = p.Last();
  for (int e = 1; e <= L - 1; ++e)
    if (p.Is(e, 7) && (p.Is(e - 1, 1) || p.Is(e + 1, 1))) p.Set(e, 1);
}

void ApplyStageChangeRule(const LastStageRuleContext& ctx) {
  if (!UsableTables(ctx)) return;
  RulePass p(ctx, false);
  const int L = p.Last();
  const int a = ctx.option.stageA, b = ctx.option.stageB;
  const auto c = ctx.option.stageC;
  int e = 0;
  while (e <= L) {
    if (!p.Is(e, a)) {
      ++e;
      continue;
    }
    int f = e + 1;
    for (; f <= L && p.Is(f, b); ++f) p.Set(f, c);
    e = f;
  }
}
