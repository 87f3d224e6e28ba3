#include "stream/loaded_file.h"

namespace qc {

LoadedFile& theloadedfile()
{
    static LoadedFile file;
    return file;
}

}  // namespace qc
