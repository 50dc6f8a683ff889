#pragma once
// Writes the component's image to a named output. Image formats go through
// TImageIO::SaveToFile; an output kind that is not an image format gets its own branch here.
#include "formats/imageio/image_io.h"

#include <string>

// False (with the reason in error) when nothing was written.
bool SaveOutput(TImageIO& io, const std::string& fileName, std::string& error);
