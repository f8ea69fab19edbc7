#include "app/pack_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <system_error>

#include "app/pack_kinds.h"
#include "portrait/image_file.h"
#include "portrait/png_image.h"
#include "shell/error.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

constexpr std::array<unsigned char, 8> kPngSignature = {0x89, 'P',  'N',  'G',
                                                        '\r', '\n', 0x1a, '\n'};

std::string Megabytes(std::uintmax_t bytes) {
  return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

// The file's bytes, or why it is passed over: not a file, too large, not starting with the PNG
// signature, unreadable. Only the first bytes are read before the checks that need no more.
std::optional<std::string> ReadPicture(const fs::path& file, std::string& why) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    why = "not a file";
    return std::nullopt;
  }
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) {
    why = "cannot be read";
    return std::nullopt;
  }
  if (size > kMaxLayerFileBytes) {
    why = "too large for a picture of the kit (" + Megabytes(size) + ", at most " +
          Megabytes(kMaxLayerFileBytes) + ")";
    return std::nullopt;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    why = "cannot be read";
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size), '\0');
  const std::size_t head = std::min<std::size_t>(bytes.size(), kPngSignature.size());
  in.read(bytes.data(), static_cast<std::streamsize>(head));
  if (static_cast<std::size_t>(in.gcount()) != head) {
    why = "cannot be read";
    return std::nullopt;
  }
  if (head < kPngSignature.size() ||
      !std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin(),
                  [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); })) {
    why = "not a PNG picture (it does not start with the PNG signature)";
    return std::nullopt;
  }
  in.read(bytes.data() + head, static_cast<std::streamsize>(bytes.size() - head));
  if (static_cast<std::size_t>(in.gcount()) != bytes.size() - head) {
    why = "cannot be read";
    return std::nullopt;
  }
  return bytes;
}

// Why the bytes are no picture of the kit's size, or nothing when they are one.
std::optional<std::string> PictureProblem(const std::string& bytes, const fs::path& file, int width,
                                          int height) {
  PngImage image;
  try {
    image = PngImage::Decode(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        file.string());
  } catch (const Error&) {
    return std::string("not a PNG picture that can be read");
  }
  if (image.ColorType() != kPngRgbAlpha) {
    return "not RGBA (PNG colour type " + std::to_string(image.ColorType()) + ")";
  }
  if (image.BitDepth() != 8) {
    return std::to_string(image.BitDepth()) + " bits per sample, not 8";
  }
  if (image.Width() != width || image.Height() != height) {
    return std::to_string(image.Width()) + " x " + std::to_string(image.Height()) +
           " pixels, not " + std::to_string(width) + " x " + std::to_string(height);
  }
  return std::nullopt;
}

std::vector<fs::path> FolderEntries(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    throw Error("The pack folder \"" + folder.string() + "\" is not a folder.");
  }
  std::vector<fs::path> entries;
  fs::directory_iterator it(folder, ec);
  if (ec)
    throw Error("Cannot read the pack folder \"" + folder.string() + "\": " + ec.message() + ".");
  for (const fs::directory_entry& entry : it) entries.push_back(entry.path());
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace

std::vector<PackItem> ReadPack(PackKind kind, const fs::path& folder,
                               std::vector<PassedOver>& passedOver) {
  const PackKindInfo& info = KindInfo(kind);
  std::vector<PackItem> items;
  const auto check = [&](const fs::path& file) -> std::optional<std::string> {
    std::string why;
    std::optional<std::string> bytes = ReadPicture(file, why);
    if (bytes) {
      if (auto problem = PictureProblem(*bytes, file, info.width, info.height)) why = *problem;
    }
    if (!why.empty()) {
      passedOver.push_back({file, why});
      return std::nullopt;
    }
    return bytes;
  };
  for (const fs::path& entry : FolderEntries(folder)) {
    std::error_code ec;
    if (info.styleFolders && fs::is_directory(entry, ec)) {
      // A style of its own: both colours.
      const std::size_t before = passedOver.size();
      auto brown = check(entry / "brown.png");
      auto blonde = check(entry / "blonde.png");
      if (brown && blonde) {
        items.push_back({entry, {{"brown.png", *brown}, {"blonde.png", *blonde}}, 0, {}});
      } else if (passedOver.size() == before) {
        passedOver.push_back({entry, "a style needs both brown.png and blonde.png"});
      }
      continue;
    }
    auto bytes = check(entry);
    if (!bytes) continue;
    if (info.styleFolders) {
      items.push_back({entry, {{"brown.png", *bytes}, {"blonde.png", *bytes}}, 0, {}});
    } else {
      items.push_back({entry, {{"", std::move(*bytes)}}, 0, {}});
    }
  }
  return items;
}

}  // namespace likentor
