#include "tests/support/ppm_read.h"

PpmStatus readPpm(std::FILE* file, ImageBuffer* image, PpmSize* size) {
  image->pixels.reset();
  PpmSize header;
  PpmStatus status = readPpmHeader(file, &header);
  if (status == PpmStatus::Ok) {
    status = readPpmPixels(file, header, image);
  }
  if (status == PpmStatus::Ok) {
    *size = header;
  }
  return status;
}
