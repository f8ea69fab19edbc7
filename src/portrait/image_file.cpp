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
  // One look at the file before it is opened (a run reads thousands of faces: each system call
  // counts), and its size from the open file.
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(file, ec);
  if (!std::filesystem::exists(status)) ThrowLoadError(name, "the file does not exist");
  if (std::filesystem::is_directory(status)) ThrowLoadError(name, "it is a folder, not a file");
  FileHandle f(std::fopen(name.c_str(), "rb"));
  if (!f) ThrowLoadError(name, "the file cannot be opened");
  long size = -1;
  if (std::fseek(f.get(), 0, SEEK_END) == 0) size = std::ftell(f.get());
  if (std::fseek(f.get(), 0, SEEK_SET) != 0) size = -1;
  if (size > 0 && static_cast<std::uintmax_t>(size) > kMaxImageFileBytes) {
    ThrowLoadError(name, "the file is too large");
  }
  std::vector<std::uint8_t> bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
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

WrittenImage WriteImageFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                            bool leaveSame) {
  // The bytes go to a new file that then takes the name, so a write that fails part-way (a full
  // disk) leaves the earlier picture as it was instead of a cut-short one.
  const PublishedFile published = PublishFile(file, bytes, leaveSame);
  if (published.error != 0) {
    throw Error("Cannot write image \"" + file.string() + "\": the file cannot be " +
                (published.created ? "written." : "created."));
  }
  return WrittenImage{published.unchanged, published.stamp};
}

}  // namespace likentor
