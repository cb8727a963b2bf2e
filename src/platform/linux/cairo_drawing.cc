// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/cairo_drawing.h"

#include <cairo.h>
#include <glib.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <numbers>
#include <system_error>
#include <utility>
#include <variant>

namespace quorbitz {
namespace {

namespace fs = std::filesystem;

// System symbol names and the freedesktop icons that stand in for them.
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kSymbolIcons{{
    {"checkmark.circle.fill", "object-select-symbolic"},
    {"arrow.triangle.2.circlepath.circle.fill", "view-refresh-symbolic"},
    {"arrow.triangle.2.circlepath", "view-refresh-symbolic"},
    {"lock.circle.fill", "changes-prevent-symbolic"},
    {"minus.circle.fill", "list-remove-symbolic"},
    {"star.fill", "starred-symbolic"},
    {"play.fill", "media-playback-start-symbolic"},
}};

constexpr std::array<std::string_view, 2> kIconThemes{"Adwaita", "hicolor"};
constexpr std::string_view kDefaultDataDirectories = "/usr/local/share:/usr/share";

struct Rgb {
  double red;
  double green;
  double blue;
};

// The sRGB values of the macOS system colours, so badges look alike on both.
Rgb rgbOf(SystemColor color) {
  switch (color) {
    case SystemColor::green:
      return {0x34 / 255.0, 0xC7 / 255.0, 0x59 / 255.0};
    case SystemColor::blue:
      return {0x00 / 255.0, 0x7A / 255.0, 0xFF / 255.0};
    case SystemColor::orange:
      return {0xFF / 255.0, 0x95 / 255.0, 0x00 / 255.0};
    case SystemColor::red:
      return {0xFF / 255.0, 0x3B / 255.0, 0x30 / 255.0};
    case SystemColor::yellow:
      return {0xFF / 255.0, 0xCC / 255.0, 0x00 / 255.0};
    case SystemColor::white:
      break;
  }
  return {1.0, 1.0, 1.0};
}

// cairo puts a context into a permanent error state on a singular matrix or
// NaN, which would silently blank everything drawn after it.
bool isDrawable(const Size& size) {
  return std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 &&
         size.height > 0;
}

bool isDrawable(const Rect& rect) {
  return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) &&
         isDrawable(rect.size);
}

// The seam's origin is the lower-left corner; cairo's is the top-left.
Rect flipped(const Rect& rect, double canvasHeight) {
  return {{rect.origin.x, canvasHeight - rect.origin.y - rect.size.height}, rect.size};
}

struct SvgArt {
  std::shared_ptr<RsvgHandle> handle;
  Size intrinsicSize;
};

struct Symbol {
  std::shared_ptr<const SvgArt> art;
  std::string name;
  std::string accessibilityDescription;
  std::optional<SystemColor> paletteColor;
  double pointSize = 0;
  // The theme icon comes in one weight only; the weight asked for is kept so
  // that the image still says what it was configured with.
  FontWeight weight = FontWeight::regular;
};

class RecordedImage;

struct OvalFill {
  Rect bounds;
  SystemColor color;
};

struct ImageDraw {
  std::shared_ptr<const RecordedImage> image;
  Rect destination;
  CompositingOperation operation;
  double fraction;
};

using Operation = std::variant<OvalFill, ImageDraw>;

class RecordedImage final : public Image {
 public:
  RecordedImage(Size size, std::vector<Operation> operations)
      : size_(size), operations_(std::move(operations)) {}
  RecordedImage(Size size, Symbol symbol) : size_(size), symbol_(std::move(symbol)) {}

  Size size() const override { return size_; }
  std::string symbolName() const override { return symbol_ ? symbol_->name : ""; }
  const std::optional<Symbol>& symbol() const { return symbol_; }

  // Paints the whole image scaled into `target`, given in cairo's user space.
  void paintInto(cairo_t* context, const Rect& target) const;

 private:
  Size size_;
  std::vector<Operation> operations_;
  std::optional<Symbol> symbol_;
};

void paintOval(cairo_t* context, const OvalFill& oval, double canvasHeight) {
  if (!isDrawable(oval.bounds)) return;
  const Rect bounds = flipped(oval.bounds, canvasHeight);
  const Rgb rgb = rgbOf(oval.color);
  cairo_save(context);
  cairo_translate(context, bounds.origin.x + bounds.size.width / 2,
                  bounds.origin.y + bounds.size.height / 2);
  cairo_scale(context, bounds.size.width / 2, bounds.size.height / 2);
  cairo_arc(context, 0, 0, 1, 0, 2 * std::numbers::pi);
  cairo_restore(context);
  cairo_save(context);
  cairo_set_source_rgb(context, rgb.red, rgb.green, rgb.blue);
  cairo_fill(context);
  cairo_restore(context);
}

// The image is first drawn into a group clipped to the destination, so that
// `copy` replaces the whole destination (clearing where the image is clear)
// and the fraction applies to the image as one layer, not to each shape.
void paintDrawnImage(cairo_t* context, const ImageDraw& draw, double canvasHeight) {
  if (!draw.image || !isDrawable(draw.destination) || !std::isfinite(draw.fraction)) {
    return;
  }
  const Rect target = flipped(draw.destination, canvasHeight);
  cairo_save(context);
  cairo_rectangle(context, target.origin.x, target.origin.y, target.size.width,
                  target.size.height);
  cairo_clip(context);
  cairo_push_group(context);
  draw.image->paintInto(context, target);
  cairo_pattern_t* drawn = cairo_pop_group(context);
  if (draw.operation == CompositingOperation::copy) {
    // cairo's SOURCE operator blends with what was there by the fraction;
    // copy instead replaces it with the image at that opacity.
    cairo_set_operator(context, CAIRO_OPERATOR_CLEAR);
    cairo_paint(context);
  }
  cairo_set_source(context, drawn);
  cairo_set_operator(context, CAIRO_OPERATOR_OVER);
  cairo_paint_with_alpha(context, std::clamp(draw.fraction, 0.0, 1.0));
  cairo_pattern_destroy(drawn);
  cairo_restore(context);
}

bool renderSvg(cairo_t* context, RsvgHandle* handle, const Size& size) {
  const RsvgRectangle viewport{0, 0, size.width, size.height};
  GError* error = nullptr;
  const bool rendered = rsvg_handle_render_document(handle, context, &viewport, &error);
  if (error != nullptr) g_error_free(error);
  return rendered;
}

// Symbolic icons are drawn in dark grey; a palette colour replaces every
// colour in them by painting it through the icon's coverage.
void paintSymbol(cairo_t* context, const Symbol& symbol, const Size& size) {
  RsvgHandle* handle = symbol.art->handle.get();
  if (!symbol.paletteColor) {
    renderSvg(context, handle, size);
    return;
  }
  cairo_push_group_with_content(context, CAIRO_CONTENT_ALPHA);
  const bool rendered = renderSvg(context, handle, size);
  cairo_pattern_t* coverage = cairo_pop_group(context);
  if (rendered) {
    const Rgb rgb = rgbOf(*symbol.paletteColor);
    cairo_set_source_rgb(context, rgb.red, rgb.green, rgb.blue);
    cairo_mask(context, coverage);
  }
  cairo_pattern_destroy(coverage);
}

void RecordedImage::paintInto(cairo_t* context, const Rect& target) const {
  if (!isDrawable(size_) || !isDrawable(target)) return;
  cairo_save(context);
  cairo_translate(context, target.origin.x, target.origin.y);
  cairo_scale(context, target.size.width / size_.width,
              target.size.height / size_.height);
  if (symbol_) {
    paintSymbol(context, *symbol_, size_);
  } else {
    for (const Operation& operation : operations_) {
      if (const auto* oval = std::get_if<OvalFill>(&operation)) {
        paintOval(context, *oval, size_.height);
      } else {
        paintDrawnImage(context, std::get<ImageDraw>(operation), size_.height);
      }
    }
  }
  cairo_restore(context);
}

class RecordingCanvas final : public Canvas {
 public:
  explicit RecordingCanvas(Size size) : size_(size) {}

  void fillOval(const Rect& bounds, SystemColor color) override {
    operations_.push_back(OvalFill{bounds, color});
  }

  // Copies the drawn image's record (sharing its SVG), because the caller
  // keeps ownership of `image`. Images from elsewhere have nothing to replay.
  void drawImage(const Image& image, const Rect& destination,
                 CompositingOperation operation, double fraction) override {
    const auto* recorded = dynamic_cast<const RecordedImage*>(&image);
    if (recorded == nullptr) return;
    operations_.push_back(ImageDraw{std::make_shared<RecordedImage>(*recorded),
                                    destination, operation, fraction});
  }

  ImageRef finish() override {
    return std::make_shared<RecordedImage>(size_, operations_);
  }

 private:
  Size size_;
  std::vector<Operation> operations_;
};

std::optional<std::string_view> iconNameFor(std::string_view symbolName) {
  for (const auto& [symbol, icon] : kSymbolIcons) {
    if (symbol == symbolName) return icon;
  }
  return std::nullopt;
}

// The folders of a theme that hold scalable icons, as its index.theme lists
// them: Adwaita 43 files its symbolic icons under scalable/<context>/,
// Adwaita 48 under symbolic/<context>/, and other themes elsewhere again.
std::vector<std::string> scalableFoldersOf(const std::string& theme) {
  std::vector<std::string> found;
  std::unique_ptr<GKeyFile, decltype(&g_key_file_free)> index(g_key_file_new(), g_key_file_free);
  g_key_file_set_list_separator(index.get(), ',');
  if (!g_key_file_load_from_file(index.get(), (theme + "/index.theme").c_str(), G_KEY_FILE_NONE,
                                 nullptr)) {
    return found;
  }
  for (const char* key : {"Directories", "ScaledDirectories"}) {
    gchar** folders = g_key_file_get_string_list(index.get(), "Icon Theme", key, nullptr, nullptr);
    for (gchar** folder = folders; folder != nullptr && *folder != nullptr; ++folder) {
      gchar* type = g_key_file_get_string(index.get(), *folder, "Type", nullptr);
      if (type != nullptr && std::string_view(type) == "Scalable") found.emplace_back(*folder);
      g_free(type);
    }
    g_strfreev(folders);
  }
  return found;
}

std::optional<std::string> findIconFile(const std::vector<std::string>& themes,
                                        std::string_view icon) {
  const std::string fileName = std::string(icon) + ".svg";
  for (const std::string& theme : themes) {
    for (const std::string& folder : scalableFoldersOf(theme)) {
      const fs::path candidate = fs::path(theme) / folder / fileName;
      std::error_code error;
      if (fs::is_regular_file(candidate, error)) return candidate.string();
    }
  }
  return std::nullopt;
}

// The size in pixels written on the SVG's root, or its view box when it gives
// none; pixels are taken as points.
std::optional<Size> intrinsicSizeOf(RsvgHandle* handle) {
  Size size;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &size.width, &size.height)) {
    gboolean hasWidth = FALSE;
    gboolean hasHeight = FALSE;
    gboolean hasViewBox = FALSE;
    RsvgLength width{};
    RsvgLength height{};
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &width, &hasHeight, &height,
                                         &hasViewBox, &viewBox);
    if (!hasViewBox) return std::nullopt;
    size = {viewBox.width, viewBox.height};
  }
  if (!isDrawable(size)) return std::nullopt;
  return size;
}

std::shared_ptr<const SvgArt> loadSvg(const std::string& path) {
  // Read with plain GLib: opening the file through GIO would start its
  // virtual file system, which creates ~/.cache when XDG_RUNTIME_DIR is unset,
  // and drawing badges must write nothing anywhere.
  gchar* data = nullptr;
  gsize length = 0;
  if (!g_file_get_contents(path.c_str(), &data, &length, nullptr)) return nullptr;
  GError* error = nullptr;
  RsvgHandle* raw =
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(data), length, &error);
  g_free(data);
  if (error != nullptr) g_error_free(error);
  if (raw == nullptr) return nullptr;
  std::shared_ptr<RsvgHandle> handle(raw, g_object_unref);
  const std::optional<Size> size = intrinsicSizeOf(raw);
  if (!size) return nullptr;
  return std::make_shared<const SvgArt>(SvgArt{std::move(handle), *size});
}

}  // namespace

class CairoDrawing::SvgCache {
 public:
  std::shared_ptr<const SvgArt> load(std::string_view icon,
                                     const std::vector<std::string>& themes) {
    const std::string key(icon);
    if (auto loaded = loaded_.find(key); loaded != loaded_.end()) return loaded->second;
    const std::optional<std::string> path = findIconFile(themes, icon);
    if (!path) return nullptr;
    std::shared_ptr<const SvgArt> art = loadSvg(*path);
    if (art) loaded_.emplace(key, art);
    return art;
  }

 private:
  std::map<std::string, std::shared_ptr<const SvgArt>> loaded_;
};

std::vector<std::string> CairoDrawing::defaultIconThemeDirectories() {
  const char* variable = std::getenv("XDG_DATA_DIRS");
  const std::string_view dataDirectories =
      variable != nullptr && *variable != '\0' ? variable : kDefaultDataDirectories;
  std::vector<std::string> folders;
  for (std::string_view rest = dataDirectories; !rest.empty();) {
    const size_t colon = std::min(rest.find(':'), rest.size());
    if (colon > 0) folders.emplace_back(rest.substr(0, colon));
    rest.remove_prefix(std::min(colon + 1, rest.size()));
  }
  std::vector<std::string> themes;
  for (std::string_view theme : kIconThemes) {
    for (const std::string& folder : folders) {
      themes.push_back(folder + "/icons/" + std::string(theme));
    }
  }
  return themes;
}

CairoDrawing::CairoDrawing(std::vector<std::string> iconThemeDirectories)
    : iconThemeDirectories_(std::move(iconThemeDirectories)),
      svgs_(std::make_unique<SvgCache>()) {}

CairoDrawing::~CairoDrawing() = default;

std::unique_ptr<Canvas> CairoDrawing::beginImage(Size size) {
  return std::make_unique<RecordingCanvas>(size);
}

ImageRef CairoDrawing::systemSymbol(
    std::string_view name, std::optional<std::string_view> accessibilityDescription) {
  const std::optional<std::string_view> icon = iconNameFor(name);
  if (!icon) return nullptr;
  std::shared_ptr<const SvgArt> art = svgs_->load(*icon, iconThemeDirectories_);
  if (!art) return nullptr;
  const Size size = art->intrinsicSize;
  return std::make_shared<RecordedImage>(
      size, Symbol{std::move(art), std::string(name),
                   std::string(accessibilityDescription.value_or("")), std::nullopt, 0,
                   FontWeight::regular});
}

ImageRef CairoDrawing::configuredSymbol(const Image& symbol,
                                        const SymbolConfiguration& configuration) {
  const auto* recorded = dynamic_cast<const RecordedImage*>(&symbol);
  const double pointSize = configuration.pointSize;
  if (recorded == nullptr || !recorded->symbol() || !std::isfinite(pointSize) ||
      pointSize <= 0) {
    return nullptr;
  }
  Symbol configured = *recorded->symbol();
  configured.paletteColor = configuration.paletteColors.empty()
                                ? std::nullopt
                                : std::optional(configuration.paletteColors.front());
  configured.pointSize = pointSize;
  configured.weight = configuration.weight;
  const Size intrinsic = configured.art->intrinsicSize;
  const Size size{pointSize * intrinsic.width / intrinsic.height, pointSize};
  return std::make_shared<RecordedImage>(size, std::move(configured));
}

ImageRef CairoDrawing::emptyImage() {
  return std::make_shared<RecordedImage>(Size{0, 0}, std::vector<Operation>{});
}

bool paintImage(const Image& image, cairo_t* context) {
  const auto* recorded = dynamic_cast<const RecordedImage*>(&image);
  if (recorded == nullptr || context == nullptr) return false;
  recorded->paintInto(context, {{0, 0}, recorded->size()});
  return cairo_status(context) == CAIRO_STATUS_SUCCESS;
}

}  // namespace quorbitz
