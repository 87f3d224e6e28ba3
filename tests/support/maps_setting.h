// Reads through a map of the file, or through the read window, for the span
// of a test: the setting the test found is put back when it ends, so that
// the tests after it run on the default.
#pragma once

#include "stream/mapped_file.h"

namespace qctest {

class MapsSetting {
public:
    explicit MapsSetting(bool on) : was_(qc::MappedFile::enabled()) { qc::MappedFile::setenabled(on); }
    ~MapsSetting() { qc::MappedFile::setenabled(was_); }
    MapsSetting(const MapsSetting&) = delete;
    MapsSetting& operator=(const MapsSetting&) = delete;

private:
    bool was_;
};

}  // namespace qctest
