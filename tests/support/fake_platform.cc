// SPDX-License-Identifier: Apache-2.0
#include "support/fake_platform.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/linux/xdg_group_containers.h"
#include "platform/posix/posix_file_system.h"

namespace quorbitz::testing {

TempDir::TempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "quorbitz-test-XXXXXX").string();
  path_ = mkdtemp(pattern.data()) ? pattern : std::string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

void TempDir::write(const std::string& relative, const std::string& content) const {
  std::filesystem::path file = std::filesystem::path(path_) / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
}

void TempDir::makeFolder(const std::string& relative) const {
  std::filesystem::create_directories(std::filesystem::path(path_) / relative);
}

std::string readWholeFile(const std::string& path) {
  std::ostringstream content;
  content << std::ifstream(path, std::ios::binary).rdbuf();
  return content.str();
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> paths;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end;
       !error && entry != end; entry.increment(error)) {
    paths.push_back(entry->path().string());
  }
  return paths;
}

std::string rootJson(const std::string& path, const std::string& locked,
                     const std::string& synced) {
  return R"({"path":")" + path +
         R"(","direction":"up","label":"L","link":"https://x.test/)" +
         std::filesystem::path(path).filename().string() +
         R"(","can_lock":true,"kept_local":[],"locked":)" + locked + R"(,"synced":)" +
         synced + "}";
}

std::string statusJson(const std::vector<std::string>& roots, int version) {
  std::string json = R"({"version":)" + std::to_string(version) + R"(,"roots":[)";
  for (size_t i = 0; i < roots.size(); ++i) json += (i ? "," : "") + roots[i];
  return json + "]}";
}

namespace {

std::string describe(double value) { return (std::ostringstream() << value).str(); }

// Streamed, not joined with "+": GCC 12 at -O3 misreads "(" + std::string
// as an overlapping copy (-Wrestrict).
std::string describe(const Rect& rect) {
  return (std::ostringstream() << "(" << rect.origin.x << ", " << rect.origin.y << ", "
                               << rect.size.width << ", " << rect.size.height << ")")
      .str();
}

class RecordingCanvas final : public Canvas {
 public:
  explicit RecordingCanvas(Size size) : image_(std::make_shared<RecordedImage>(size)) {}
  void fillOval(const Rect& bounds, SystemColor color) override {
    image_->operations.push_back("oval " + describe(bounds) + " color " +
                                 std::to_string(static_cast<int>(color)));
  }
  void drawImage(const Image& image, const Rect& destination,
                 CompositingOperation operation, double fraction) override {
    const auto& recorded = static_cast<const RecordedImage&>(image);
    image_->operations.push_back(
        "draw " + recorded.name + (recorded.configuration.empty() ? "" : " ") +
        recorded.configuration + " in " + describe(destination) + " op " +
        std::to_string(static_cast<int>(operation)) + " fraction " + describe(fraction));
  }
  ImageRef finish() override { return image_; }

 private:
  std::shared_ptr<RecordedImage> image_;
};

}  // namespace

std::unique_ptr<Canvas> RecordingDrawing::beginImage(Size size) {
  return std::make_unique<RecordingCanvas>(size);
}

ImageRef RecordingDrawing::systemSymbol(
    std::string_view name, std::optional<std::string_view> accessibilityDescription) {
  lookups.push_back(std::string(name) + "|" +
                    std::string(accessibilityDescription.value_or("(none)")));
  for (const auto& [known, size] : symbols) {
    if (known == name) return std::make_shared<RecordedImage>(size, known);
  }
  return nullptr;
}

ImageRef RecordingDrawing::configuredSymbol(const Image& symbol,
                                            const SymbolConfiguration& configuration) {
  if (!configuredSize) return nullptr;
  auto image = std::make_shared<RecordedImage>(static_cast<const RecordedImage&>(symbol));
  image->imageSize = *configuredSize;
  image->configuration = "palette";
  for (SystemColor color : configuration.paletteColors) {
    image->configuration.append(1, ' ').append(std::to_string(static_cast<int>(color)));
  }
  image->configuration +=
      " size " + describe(configuration.pointSize) +
      (configuration.weight == FontWeight::bold ? " bold" : " regular");
  return image;
}

ImageRef RecordingDrawing::emptyImage() { return std::make_shared<RecordedImage>(); }

FakePlatform::FakePlatform()
    : containers(newFixedGroupContainers(temp.path() + "/container")),
      files(newPosixFileSystem()) {}

Platform FakePlatform::platform() {
  return {finder, *containers, files, systemLog, pasteboard, runLoop, drawing};
}

std::string FakePlatform::finderDir() const { return temp.path() + "/container/finder"; }

void FakePlatform::writeStatus(const std::string& json) const {
  // Every rewrite gets a later modification date, however fast the test runs.
  static int64_t nextSecond = 1'700'000'000;
  std::string path = finderDir() + "/status.json";
  temp.write("container/finder/status.json", json);
  struct timespec times[2] = {{nextSecond, 0}, {nextSecond, 0}};
  ++nextSecond;
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

std::vector<std::string> FakePlatform::traceMessages() const {
  std::vector<std::string> messages;
  std::istringstream lines(readWholeFile(finderDir() + "/appex-trace.log"));
  for (std::string line; std::getline(lines, line);) {
    messages.push_back(line.size() > 21 ? line.substr(21) : line);
  }
  return messages;
}

}  // namespace quorbitz::testing
