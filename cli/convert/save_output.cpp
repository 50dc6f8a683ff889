#include "cli/convert/save_output.h"

bool SaveOutput(TImageIO& io, const std::string& fileName, std::string& error)
{
    try {
        io.SaveToFile(fileName);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (io.Aborting) {
        error = "cannot write this format or the image";
        return false;
    }
    return true;
}
