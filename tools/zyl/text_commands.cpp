#include <CLI/CLI.hpp>

#include "commands.h"
#include "platform/platform.h"
#include "zyl/zyl.h"

namespace zyl::tool {
namespace {

// Hex with 0x or 0X, or decimal; no sign. Must fit a pointer of this build.
std::optional<std::uintptr_t> ParseHandle(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  return ParseNumber<std::uintptr_t>(std::string_view(text).substr(hex ? 2 : 0), hex ? 16 : 10);
}

}  // namespace

void DefinePad(CLI::App* app, Arguments* args) {
  // Plain decimal with an optional minus sign, nothing around it: no octal, hex or blanks.
  app->add_option("-w,--width", args->width, "the width in bytes, a 32-bit decimal integer")
      ->required()
      ->type_name("N")
      ->check(Check("a 32-bit integer",
                    [](const std::string& value) { return !!ParseNumber<std::int32_t>(value); }));
  app->add_option("-f,--fill", args->fill, "the fill, one byte (default: a blank)")
      ->type_name("C")
      ->check(Check("one byte", [](const std::string& value) { return value.size() == 1; }));
  // Descriptions as const strings: C++20 finds a string literal ambiguous among CLI11's add_flag.
  const std::string left_help = "pad on the left, right-aligning TEXT";
  const std::string right_help = "pad on the right (the default)";
  const CLI::Option* left = app->add_flag("-l,--left", left_help)->disable_flag_override();
  const CLI::Option* right = app->add_flag("-r,--right", right_help)->disable_flag_override();
  app->callback([app, args, left, right] {
    for (const CLI::Option* side : app->parse_order()) {  // the last side given wins
      if (side == left || side == right) args->pad_left = side == left;
    }
  });
}

Status RunPad(const Arguments& args, Output& out) {
  const std::int32_t width = *ParseNumber<std::int32_t>(args.width);
  const ZYLString result = PadString(ZYLString(args.text), args.fill[0], width, args.pad_left);
  // The library answers a width it cannot allocate with the empty string.
  if (width > 0 && result.size() < static_cast<std::size_t>(width)) {
    Complain("a result of " + std::to_string(width) + " bytes does not fit in memory");
    return kFailed;
  }
  out.Line(result);
  return kOk;
}

Status RunShortPath(const Arguments& args, Output& out) {
  const ZYLString path = ExtractShortPathName(ZYLString(args.text));
  out.Line(path);
  return path.empty() ? kNoResult : kOk;
}

Status RunDebug(const Arguments& /*args*/, Output& out) {
  const bool on = Debug();
  out.Line(on ? "on" : "off");
  return on ? kOk : kNoResult;
}

Status RunMsg(const Arguments& args, Output& /*out*/) {
  ShowZYLMsg(args.text);
  return kOk;
}

void DefineError(CLI::App* app, Arguments* args) {
  app->callback([args] {
    if (args->text == "-" && args->detail == "-") {
      throw CLI::ValidationError("only one argument can be '-'");
    }
  });
}

Status RunError(const Arguments& args, Output& /*out*/) {
  ShowZYLError(args.text, args.detail);
  return kOk;
}

void DefineTitle(CLI::App* app, Arguments* args) {
  app->add_option("WINDOW-HANDLE", args->handle, "hex with 0x, or decimal; 0 (the default): none")
      ->check(Check("a number (0x... or decimal)",
                    [](const std::string& value) { return !!ParseHandle(value); }));
}

Status RunTitle(const Arguments& args, Output& out) {
  const HWND window = reinterpret_cast<HWND>(*ParseHandle(args.handle));
  // Not asked of the library: for a handle that names nothing, Wine answers with stray bytes.
  if (window != nullptr && !platform::IsWindow(window)) {
    out.Line("");
    return kNoResult;
  }
  out.Line(GetWindowTitle(window));
  return kOk;
}

}  // namespace zyl::tool
