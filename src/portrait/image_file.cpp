#include "portrait/image_file.h"

#include <cstdio>
#include <memory>
#include <system_error>

#include "shell/error.h"

namespace likentor {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::string LoadErrorMessage(const std::string& name, const std::string& what) {
  return "Cannot load image \"" + name + "\": " + what + ".";
}

void ThrowLoadError(const std::string& name, const std::string& what) {
  throw Error(LoadErrorMessage(name, what));
}

void CheckImageSize(const std::string& name, std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) ThrowLoadError(name, "the image has no pixels");
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels) {
    ThrowLoadError(name, "the image is too large (" + std::to_string(width) + " x " +
                             std::to_string(height) + " pixels)");
  }
}

std::vector<std::uint8_t> ReadImageFile(const std::filesystem::path& file) {
  const std::string name = file.string();
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) ThrowLoadError(name, "the file does not exist");
  if (std::filesystem::is_directory(file, ec)) ThrowLoadError(name, "it is a folder, not a file");
  FileHandle f(std::fopen(name.c_str(), "rb"));
  if (!f) ThrowLoadError(name, "the file cannot be opened");
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (!ec && size > kMaxImageFileBytes) ThrowLoadError(name, "the file is too large");
  std::vector<std::uint8_t> bytes(ec ? 0 : static_cast<std::size_t>(size));
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f.get()));
  // Read on in case the file grew since its size was taken.
  std::uint8_t chunk[4096];
  for (std::size_t n = 0; (n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0;) {
    if (bytes.size() + n > kMaxImageFileBytes) ThrowLoadError(name, "the file is too large");
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  if (std::ferror(f.get())) ThrowLoadError(name, "the file cannot be read");
  return bytes;
}

void WriteImageFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
  // The bytes go to a file beside the target that then replaces it, so a write that fails part-way
  // (a full disk) leaves the earlier picture as it was instead of a cut-short one.
  const std::string name = file.string();
  const std::string part = name + ".part";
  FileHandle f(std::fopen(part.c_str(), "wb"));
  if (!f) throw Error("Cannot write image \"" + name + "\": the file cannot be created.");
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  // Close explicitly: a full disk may only show when the buffer is flushed.
  const bool closed = std::fclose(f.release()) == 0;
  if (!written || !closed || std::rename(part.c_str(), name.c_str()) != 0) {
    std::remove(part.c_str());
    throw Error("Cannot write image \"" + name + "\": the file cannot be written.");
  }
}

}  // namespace likentor
