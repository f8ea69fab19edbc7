// JPEG decoding with libjpeg.
//
// libjpeg's error_exit must not return: ours records the message and longjmps back to the setjmp in
// the guarded functions below, which, like the callbacks, hold only plain data. The decompressor is
// destroyed by a handle outside the guarded region. Each call has its own state (thread-safe).

#include "portrait/jpeg_reader.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "portrait/image_file.h"

namespace likentor {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;  // first member: libjpeg hands us a pointer to it
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

// Warnings (level -1) are about corrupt data, such as a file that ends early; treat them as errors.
// Trace messages (level >= 0) are ignored.
void OnJpegMessage(j_common_ptr info, int level) {
  if (level < 0) OnJpegError(info);
}

class Decompressor {
 public:
  explicit Decompressor(ErrorManager& errors) {
    info_.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnJpegError;
    errors.base.emit_message = OnJpegMessage;
  }
  ~Decompressor() {
    if (created_) jpeg_destroy_decompress(&info_);
  }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  jpeg_decompress_struct* Info() { return &info_; }
  void MarkCreated() { created_ = true; }

 private:
  jpeg_decompress_struct info_{};
  bool created_ = false;
};

bool CreateGuarded(Decompressor& decompressor, ErrorManager& errors) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_decompress(decompressor.Info());
  decompressor.MarkCreated();
  return true;
}

bool ReadHeaderGuarded(jpeg_decompress_struct* info, ErrorManager& errors, const std::uint8_t* data,
                       std::size_t size) {
  if (setjmp(errors.jump)) return false;
  jpeg_mem_src(info, data, static_cast<unsigned long>(size));
  jpeg_read_header(info, TRUE);
  info->out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(info);
  return true;
}

bool ReadPixelsGuarded(jpeg_decompress_struct* info, ErrorManager& errors, Bitmap& bitmap) {
  if (setjmp(errors.jump)) return false;
  jpeg_start_decompress(info);
  if (info->output_components != 3 || static_cast<int>(info->output_width) != bitmap.Width() ||
      static_cast<int>(info->output_height) != bitmap.Height()) {
    std::snprintf(errors.message, sizeof errors.message, "unexpected output layout");
    return false;
  }
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = bitmap.Row(static_cast<int>(info->output_scanline));
    jpeg_read_scanlines(info, &row, 1);
  }
  jpeg_finish_decompress(info);
  return true;
}

}  // namespace

Bitmap LoadJpeg(const std::filesystem::path& file) {
  return DecodeJpeg(ReadImageFile(file), file.string());
}

Bitmap DecodeJpeg(std::span<const std::uint8_t> bytes, const std::string& name) {
  if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) {
    ThrowLoadError(name, "not a JPEG file");
  }
  ErrorManager errors{};
  Decompressor decompressor(errors);
  if (!CreateGuarded(decompressor, errors)) {
    ThrowLoadError(name, std::string("damaged JPEG data (") + errors.message + ")");
  }
  jpeg_decompress_struct* info = decompressor.Info();
  if (!ReadHeaderGuarded(info, errors, bytes.data(), bytes.size())) {
    ThrowLoadError(name, std::string("damaged JPEG data (") + errors.message + ")");
  }
  CheckImageSize(name, info->output_width, info->output_height);
  Bitmap bitmap(static_cast<int>(info->output_width), static_cast<int>(info->output_height));
  if (!ReadPixelsGuarded(info, errors, bitmap)) {
    ThrowLoadError(name, std::string("damaged JPEG data (") + errors.message + ")");
  }
  return bitmap;
}

}  // namespace likentor
