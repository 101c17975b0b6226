#include "rich_text_box.h"

#include "book_file.h"
#include "rtf/rtf.h"
#include "text_codec.h"

#include <QDesktopServices>
#include <QTextBrowser>
#include <QTextDocument>

#include <memory>

namespace platform {

bool isSafeLink(const QUrl& url) {
    if (!url.isValid() || url.isRelative()) return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto")) return !url.path().isEmpty();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

RichTextBox::RichTextBox(QWidget* parent)
    : Control(new QTextBrowser(parent)), edit_(static_cast<QTextEdit*>(widget())) {
    // A reading pane: nothing shown here is ever saved, so edits would only mislead.
    auto* browser = static_cast<QTextBrowser*>(edit_);
    edit_->setReadOnly(true);
    edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard |
                                   Qt::LinksAccessibleByMouse);
    edit_->setAcceptRichText(true);
    // The browser would follow links itself, into files of the book's folder too.
    browser->setOpenLinks(false);
    browser->setOpenExternalLinks(false);
    connect(browser, &QTextBrowser::anchorClicked, this, &RichTextBox::RTBox_LinkClicked);
}

void RichTextBox::RTBox_LinkClicked(const QUrl& url) {
    if (isSafeLink(url)) QDesktopServices::openUrl(url);
}

bool RichTextBox::loadFile(const QString& path) {
    const BookFileRead file = readBookFile(path, kMaxFileBytes);
    return file.ok() && loadBytes(file.bytes);
}

bool RichTextBox::loadBytes(const QByteArray& bytes) {
    if (bytes.isEmpty()) return false;
    // Build the new content apart, so a failure leaves the pane as it was.
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(edit_->font());
    if (!rtf::importRtf(bytes, *doc, kLimits))
        textlimits::setLimitedPlainText(*doc, decodePageText(bytes), kLimits);
    // The edit deletes the document it replaces, being its parent.
    doc->setParent(edit_);
    edit_->setDocument(doc.release());
    return true;
}

void RichTextBox::setContentFrom(const RichTextBox& other) {
    edit_->setDocument(other.edit_->document()->clone(edit_));
}

QColor RichTextBox::backColor() const {
    return edit_->palette().color(QPalette::Base);
}

void RichTextBox::setBackColor(const QColor& color) {
    QPalette pal = edit_->palette();
    pal.setColor(QPalette::Base, color);
    edit_->setPalette(pal);
}

}  // namespace platform
