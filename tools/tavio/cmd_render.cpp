// tavio render: draws the carousel of a library with the view's own code and
// no window: the rest frame, or one moving frame of a step, into a .bmp file.
// Covers are prepared before drawing; there is no text renderer natively, so
// captions are left out.
#include <chrono>
#include <cstdint>
#include <string>

#include "command.h"
#include "library/shared_keys.h"
#include "raster/bmp_file.h"
#include "settings/settings_keys.h"
#include "view/marquelle2.h"
#include "view/movement_curve.h"

namespace tavio::tool {
namespace {

struct RenderOptions {
  std::string dataFolder;
  int32_t width = 0, height = 0;
  int32_t index = settings::kDefaultCurrentIndex;
  bool moving = false;
  int32_t frame = 0;
  bool next = false;
  int32_t alpha = settings::kDefaultMirrorAlpha;
  int32_t curveA = settings::kDefaultCurveA;
  int32_t curveB = settings::kDefaultCurveB;
  std::string out;
};

// No screen, no messages, no timer; nothing is posted since no loader runs.
class TRenderPlatform : public TViewPlatform {
 public:
  void Flush() override {}
  void ProcessPendingMessages() override {}
  void SetTimer(bool, uint32_t) override {}
  int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void PostToViewThread(std::function<void()>) override {}
};

// The store's defaults, replaced by the options; nothing is written back.
class TRenderSettings : public TViewSettingsSource {
 public:
  explicit TRenderSettings(const RenderOptions& o) : options_(o) {}
  void ReadStartup(TViewSettings& s) override {
    SetSortKeys(settings::kDefaultSortKeys);
    SetCaptionKeys(settings::kDefaultCaptionKeys);
    s.PluginFolder = options_.dataFolder;
    s.CurrentIndex = options_.index;
    s.MirrorAlpha = options_.alpha;
    s.CurveA = options_.curveA / settings::kCurveScale;
    s.CurveB = options_.curveB / settings::kCurveScale;
    s.SizeFactor = settings::kDefaultCoverSize / settings::kCoverSizeScale;
    s.StepCount = settings::kDefaultStepCount;
  }
  void WritePosition(int32_t, int32_t) override {}

 private:
  const RenderOptions& options_;
};

int32_t ParseInt(const std::string& text, const std::string& option) {
  size_t used = 0;
  int32_t value = 0;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size()) throw UsageError{option + " needs a number, not \"" + text + "\""};
  return value;
}

void ParseSize(const std::string& text, RenderOptions& o) {
  const size_t x = text.find('x');
  if (x == std::string::npos) throw UsageError{"--size needs WxH, not \"" + text + "\""};
  o.width = ParseInt(text.substr(0, x), "--size");
  o.height = ParseInt(text.substr(x + 1), "--size");
  if (o.width < 1 || o.height < 1 || o.width > 8192 || o.height > 8192)
    throw UsageError{"--size must lie between 1x1 and 8192x8192"};
}

RenderOptions ParseOptions(const Args& args) {
  RenderOptions o;
  bool haveDirection = false;
  const auto value = [&](size_t& i) -> const std::string& {
    if (i + 1 >= args.size()) throw UsageError{args[i] + " needs a value"};
    return args[++i];
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--data") {
      o.dataFolder = value(i);
    } else if (a == "--size") {
      ParseSize(value(i), o);
    } else if (a == "--index") {
      o.index = ParseInt(value(i), a);
    } else if (a == "--frame") {
      o.moving = true;
      o.frame = ParseInt(value(i), a);
    } else if (a == "--direction") {
      const std::string& d = value(i);
      if (d != "previous" && d != "next") throw UsageError{"--direction is previous or next"};
      o.next = d == "next";
      haveDirection = true;
    } else if (a == "--alpha") {
      o.alpha = ParseInt(value(i), a);
    } else if (a == "--curve") {
      o.curveA = ParseInt(value(i), a);
      o.curveB = ParseInt(value(i), a);
    } else if (a == "--out") {
      o.out = value(i);
    } else {
      throw UsageError{"unknown option " + a};
    }
  }
  if (o.dataFolder.empty() || o.width == 0 || o.out.empty()) throw UsageError{"--data, --size and --out are needed"};
  if (o.moving != haveDirection) throw UsageError{"--frame and --direction go together"};
  if (o.moving && (o.frame < 0 || o.frame > settings::kDefaultStepCount))
    throw UsageError{"--frame runs from 0 to " + std::to_string(settings::kDefaultStepCount)};
  if (o.dataFolder.back() != '/') o.dataFolder += '/';
  return o;
}

int RunRender(const Args& args) {
  const RenderOptions o = ParseOptions(args);
  TRenderPlatform platform;
  TRenderSettings settings(o);
  TMarquelle2 view(platform, settings);
  view.Resize(o.width, o.height);
  view.ReadLibrary();
  if (view.AlbumCount == 0) throw std::runtime_error("no albums in " + o.dataFolder + "Data.dat");
  view.PrepareAllCovers();
  view.Layout();
  view.RefillSlots();
  if (o.moving) {
    if (o.next) {
      view.CurveMode = kCurveNext;
      view.CaptionShift = 1;
      view.BringInNext();
    } else {
      view.CurveMode = kCurvePrevious;
      view.CaptionShift = -1;
    }
    view.DrawMovingFrame(o.frame);
  }
  SaveBmpFile(view.FrameBuffer, o.out);
  return 0;
}

}  // namespace

TAVIO_COMMAND("render",
              "render --data DIR --size WxH [--index N] [--frame K --direction previous|next] [--alpha M] "
              "[--curve FUNCA FUNCB] --out FILE.bmp",
              RunRender);

}  // namespace tavio::tool
