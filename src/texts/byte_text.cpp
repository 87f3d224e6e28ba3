#include "texts/byte_text.h"

#include "tags/text_encoding.h"

namespace qc {

char32_t bytechar(unsigned char b)
{
    return qc::windows1252char(b);
}

std::string bytestext(std::string_view bytes)
{
    return qc::windows1252toutf8({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace qc
