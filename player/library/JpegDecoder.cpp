#include "player/library/JpegDecoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// A progressive picture can hold any number of scans, each a pass over the whole picture; more
// than this many is no real picture and would keep the player busy for minutes.
constexpr int kMaxScans = 500;

// libjpeg's standard error manager with the error exit replaced: the message is written as
// usual, then control jumps back to the decoding step that called into the library.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// Everything the library works on; plain data only, so a jump never skips a destructor.
struct Decoding {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    jpeg_progress_mgr progress;
};

[[noreturn]] void JumpBack(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    (*cinfo->err->output_message)(cinfo);
    JumpBack(cinfo);
}

void LimitScans(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        JumpBack(cinfo);
}

// The memory source: the whole picture is one buffer; when it runs out the source supplies an
// end-of-image marker, so data cut short ends as if the picture were complete.
struct MemorySource {
    jpeg_source_mgr pub;
    JOCTET* endOfImage; // two bytes from the decompressor's permanent pool
};

void InitSource(j_decompress_ptr)
{
}

void TermSource(j_decompress_ptr)
{
}

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    auto* source = reinterpret_cast<MemorySource*>(cinfo->src);
    source->endOfImage[0] = 0xFF;
    source->endOfImage[1] = JPEG_EOI;
    source->pub.next_input_byte = source->endOfImage;
    source->pub.bytes_in_buffer = 2;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    // A skip beyond the end consumes the rest; the next fill then supplies the end marker.
    jpeg_source_mgr* source = cinfo->src;
    const size_t skipped = std::min(static_cast<size_t>(count), source->bytes_in_buffer);
    source->next_input_byte += skipped;
    source->bytes_in_buffer -= skipped;
}

void InstallMemorySource(j_decompress_ptr cinfo, const JOCTET* data, size_t size)
{
    auto* source = static_cast<MemorySource*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(MemorySource)));
    source->endOfImage = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, 2 * sizeof(JOCTET)));
    source->pub.init_source = InitSource;
    source->pub.fill_input_buffer = FillInputBuffer;
    source->pub.skip_input_data = SkipInputData;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = TermSource;
    source->pub.next_input_byte = data;
    source->pub.bytes_in_buffer = size;
    cinfo->src = &source->pub;
}

// Creates the decompressor over the data, reads the header and starts decompression. False when
// the library gave up, or the picture is too large or has a colour layout that is not shown.
bool Start(Decoding& d, const JOCTET* data, size_t size, qint64 maxPixels)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_create_decompress(&d.cinfo);
    d.progress.progress_monitor = LimitScans;
    d.cinfo.progress = &d.progress;
    InstallMemorySource(&d.cinfo, data, size);
    jpeg_read_header(&d.cinfo, TRUE);
    if (static_cast<qint64>(d.cinfo.image_width) * d.cinfo.image_height > maxPixels)
        return false;
    jpeg_start_decompress(&d.cinfo);
    const int components = d.cinfo.output_components;
    return components == 1 || components == 3 || components == 4;
}

// One decoded row as RGB. Four components are CMYK; an Adobe marker means they are stored
// inverted (as Photoshop writes them), so each ink is already 255 minus its amount.
void ToRgb(const JSAMPLE* in, int components, bool adobeInverted, JDIMENSION width, uchar* out)
{
    for (JDIMENSION x = 0; x < width; ++x, in += components, out += 3) {
        if (components == 1) {
            out[0] = out[1] = out[2] = in[0];
        } else if (components == 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        } else {
            const int k = adobeInverted ? in[3] : 255 - in[3];
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uchar>((adobeInverted ? in[c] : 255 - in[c]) * k / 255);
        }
    }
}

// Reads every row into the image's rows and finishes; false when the library gave up.
bool ReadRows(Decoding& d, uchar* bits, qsizetype bytesPerLine, JSAMPLE* rowBuffer)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_decompress_struct& cinfo = d.cinfo;
    const bool adobeInverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION row = cinfo.output_scanline;
        JSAMPROW rows[1] = {rowBuffer};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1)
            return false; // only a suspending source reads nothing, and this one never suspends
        ToRgb(rowBuffer, cinfo.output_components, adobeInverted, cinfo.output_width, bits + row * bytesPerLine);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

} // namespace

namespace JpegDecoder {

bool IsJpeg(QByteArrayView data)
{
    return data.size() >= 2 && static_cast<uchar>(data[0]) == 0xFF && static_cast<uchar>(data[1]) == 0xD8;
}

QImage Decode(QByteArrayView jpeg, qint64 maxPixels)
{
    if (jpeg.isEmpty())
        return {};
    Decoding d{};
    d.cinfo.err = jpeg_std_error(&d.errors.pub);
    d.errors.pub.error_exit = ErrorExit;

    QImage image;
    const auto* data = reinterpret_cast<const JOCTET*>(jpeg.data());
    if (Start(d, data, static_cast<size_t>(jpeg.size()), maxPixels)) {
        const JDIMENSION width = d.cinfo.output_width;
        image = QImage(static_cast<int>(width), static_cast<int>(d.cinfo.output_height), QImage::Format_RGB888);
        std::vector<JSAMPLE> rowBuffer(size_t(width) * size_t(d.cinfo.output_components));
        if (image.isNull() || !ReadRows(d, image.bits(), image.bytesPerLine(), rowBuffer.data()))
            image = QImage();
    }
    jpeg_destroy_decompress(&d.cinfo);
    return image;
}

} // namespace JpegDecoder
