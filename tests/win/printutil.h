// The PDF printer of the test run (tools/printer.sh): the queue "PDF" of the
// spooler, made the default, whose jobs become PDF files in TRK_PDF_DIR.
// The files are read back with poppler's tools (started as Unix programs).
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace print_check {

// Whether the default printer is "PDF" and its folder is known.
bool printer_ready();
// The PDF files in the folder now (each name with the time of its last write).
std::set<std::string> pdf_files();
// The Windows path of a PDF file that was not among before, once it is
// whole (up to timeout_ms); "" when none came.
std::string new_pdf(const std::set<std::string> &before, int timeout_ms = 90000);
// The text of a PDF file (pdftotext -layout), in CP1250; pages end in a form feed.
std::string pdf_text(const std::string &pdf);
int pdf_pages(const std::string &pdf);
// A picture of one page (pdftoppm, PNG at 50 dpi) into png (a Windows path).
bool pdf_picture(const std::string &pdf, int page, const std::string &png);
// One page in grey (pdftoppm -gray at dpi): width * height bytes, 0 black,
// 255 white; empty when it could not be read.
std::vector<uint8_t> pdf_grey(const std::string &pdf, int page, int dpi, int *width, int *height);

}  // namespace print_check
