// Markdown to PDF through the toolkit's rich text document and its PDF writer.
#include "platform/draw/markdown_pdf.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

#include "platform/draw/dc_qt.h"

namespace draw {

bool WriteMarkdownPdf(const std::string& markdown, const std::string& pdfPath, const std::string& title,
                      std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = what;
    return false;
  };
  if (markdown.empty()) return fail("the manual's text is empty");
  EnsureQtApp();
  const QString target = QString::fromStdString(pdfPath);
  const QString staging = target + QStringLiteral(".tmp");
  {
    QPdfWriter writer(staging);
    writer.setTitle(QString::fromStdString(title));
    writer.setCreator(QString::fromStdString(title));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    writer.setResolution(300);
    QTextDocument doc;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.0);
    doc.setDefaultFont(font);
    doc.setMarkdown(QString::fromStdString(markdown));
    doc.setPageSize(QSizeF(writer.width(), writer.height()));
    // The document is laid out in the writer's own pixels, so fonts keep their point sizes.
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setPageSize(QSizeF(writer.width(), writer.height()));
    QPainter painter;
    if (!painter.begin(&writer)) {
      QFile::remove(staging);
      return fail("cannot write " + pdfPath);
    }
    const int pages = doc.pageCount();
    const QSizeF page = doc.pageSize();
    for (int i = 0; i < pages; ++i) {
      if (i > 0) writer.newPage();
      painter.save();
      painter.translate(0, -page.height() * i);
      doc.drawContents(&painter, QRectF(0, page.height() * i, page.width(), page.height()));
      painter.restore();
    }
    painter.end();
  }
  QFile::remove(target);
  if (!QFile::rename(staging, target)) {
    QFile::remove(staging);
    return fail("cannot write " + pdfPath);
  }
  return true;
}

}  // namespace draw
