// The two book formats.
#include "core/book/book_writer.h"

#include <cstdio>
#include <vector>

#include "core/book/zip_writer.h"
#include "core/utf8.h"

namespace veltrin::book {

namespace {

class TextBookWriter : public BookWriter {
 public:
  explicit TextBookWriter(Output output) : output_(std::move(output)) {}

  void AddChapter(std::u16string_view title, std::u16string_view text) override {
    std::u16string chapter(title);
    chapter += u"\r\n";
    chapter += text;
    if (!text.empty() && !text.ends_with(u"\r\n")) chapter += u"\r\n";
    chapter += u"\r\n";
    output_(TextToUtf8(chapter));
  }
  void AddMissingChapter(std::u16string_view title, std::u16string_view address) override {
    output_(TextToUtf8(MissingChapterLine(title, address) + u"\r\n\r\n"));
  }
  void Finish() override {}

 private:
  Output output_;
};

// Returns the text as XML character data: markup characters escaped, and characters XML does not
// allow (controls, U+FFFE, U+FFFF) left out.
std::string XmlText(std::u16string_view text) {
  std::u16string escaped;
  for (char16_t unit : text) {
    switch (unit) {
      case u'&':
        escaped += u"&amp;";
        break;
      case u'<':
        escaped += u"&lt;";
        break;
      case u'>':
        escaped += u"&gt;";
        break;
      case u'"':
        escaped += u"&quot;";
        break;
      default:
        if ((unit < 0x20 && unit != u'\t') || unit == 0xFFFE || unit == 0xFFFF) break;
        escaped += unit;
    }
  }
  return TextToUtf8(escaped);  // a lone surrogate becomes U+FFFD
}

class EpubBookWriter : public BookWriter {
 public:
  EpubBookWriter(Output output, std::u16string_view title, std::u16string_view identifier,
                 std::string_view modified)
      : zip_(std::move(output)),
        title_(XmlText(title)),
        identifier_(XmlText(identifier)),
        modified_(modified) {
    zip_.AddStored("mimetype", "application/epub+zip");
    zip_.AddDeflated("META-INF/container.xml",
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<container version=\"1.0\" "
                     "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
                     "  <rootfiles>\n"
                     "    <rootfile full-path=\"OEBPS/content.opf\" "
                     "media-type=\"application/oebps-package+xml\"/>\n"
                     "  </rootfiles>\n"
                     "</container>\n");
  }

  void AddChapter(std::u16string_view title, std::u16string_view text) override {
    std::vector<std::u16string_view> paragraphs;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find(u'\n', start);
      if (end == std::u16string_view::npos) end = text.size();
      std::u16string_view line = text.substr(start, end - start);
      if (line.ends_with(u'\r')) line.remove_suffix(1);
      paragraphs.push_back(line);
      start = end + 1;
    }
    AddPage(title, paragraphs);
  }

  void Finish() override {
    std::string manifest;
    std::string spine;
    std::string nav;
    for (std::size_t i = 0; i < titles_.size(); ++i) {
      const std::string id = ChapterId(i);
      manifest += "    <item id=\"" + id + "\" href=\"" + id +
                  ".xhtml\" media-type=\"application/xhtml+xml\"/>\n";
      spine += "    <itemref idref=\"" + id + "\"/>\n";
      nav += "      <li><a href=\"" + id + ".xhtml\">" + titles_[i] + "</a></li>\n";
    }
    zip_.AddDeflated("OEBPS/content.opf",
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
                     "unique-identifier=\"book-id\" xml:lang=\"zh\">\n"
                     "  <metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                     "    <dc:identifier id=\"book-id\">" +
                         identifier_ +
                         "</dc:identifier>\n"
                         "    <dc:title>" +
                         title_ +
                         "</dc:title>\n"
                         "    <dc:language>zh</dc:language>\n"
                         "    <meta property=\"dcterms:modified\">" +
                         modified_ +
                         "</meta>\n"
                         "  </metadata>\n"
                         "  <manifest>\n"
                         "    <item id=\"nav\" href=\"nav.xhtml\" "
                         "media-type=\"application/xhtml+xml\" properties=\"nav\"/>\n" +
                         manifest +
                         "  </manifest>\n"
                         "  <spine>\n" +
                         spine +
                         "  </spine>\n"
                         "</package>\n");
    zip_.AddDeflated("OEBPS/nav.xhtml", Document(title_,
                                                 "  <nav epub:type=\"toc\" id=\"toc\">\n"
                                                 "    <h1>" +
                                                     title_ +
                                                     "</h1>\n"
                                                     "    <ol>\n" +
                                                     nav +
                                                     "    </ol>\n"
                                                     "  </nav>\n"));
    zip_.Finish();
  }

  void AddMissingChapter(std::u16string_view title, std::u16string_view address) override {
    // The line stands in the chapter's own file, so the navigation still lists it.
    AddPage(title, {MissingChapterLine(title, address)});
  }

 private:
  static std::string ChapterId(std::size_t index) {
    char id[32];
    std::snprintf(id, sizeof id, "chapter-%05zu", index + 1);
    return id;
  }

  static std::string Document(const std::string& title, const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE html>\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\" "
           "xmlns:epub=\"http://www.idpf.org/2007/ops\" xml:lang=\"zh\" lang=\"zh\">\n"
           "<head>\n"
           "  <meta charset=\"UTF-8\"/>\n"
           "  <title>" +
           title +
           "</title>\n"
           "</head>\n"
           "<body>\n" +
           body +
           "</body>\n"
           "</html>\n";
  }

  void AddPage(std::u16string_view title, const std::vector<std::u16string_view>& paragraphs) {
    const std::string heading = XmlText(title);
    std::string body = "  <h1>" + heading + "</h1>\n";
    for (std::u16string_view paragraph : paragraphs) {
      // Lines of indent alone (the pipeline ends a text with one) are no paragraphs.
      if (paragraph.find_first_not_of(u"\u3000 ") == std::u16string_view::npos) continue;
      body += "  <p>" + XmlText(paragraph) + "</p>\n";
    }
    zip_.AddDeflated("OEBPS/" + ChapterId(titles_.size()) + ".xhtml", Document(heading, body));
    titles_.push_back(heading);
  }

  ZipWriter zip_;
  std::string title_;                // escaped
  std::string identifier_;           // escaped
  std::string modified_;             // the dcterms:modified value
  std::vector<std::string> titles_;  // escaped chapter titles, for the navigation
};

}  // namespace

std::u16string MissingChapterLine(std::u16string_view title, std::u16string_view address) {
  return u"[缺章: " + std::u16string(title) + u" " + std::u16string(address) + u"]";
}

std::unique_ptr<BookWriter> MakeTextBookWriter(BookWriter::Output output) {
  return std::make_unique<TextBookWriter>(std::move(output));
}

std::unique_ptr<BookWriter> MakeEpubBookWriter(BookWriter::Output output, std::u16string_view title,
                                               std::u16string_view identifier,
                                               std::string_view modified) {
  return std::make_unique<EpubBookWriter>(std::move(output), title, identifier, modified);
}

}  // namespace veltrin::book
