#pragma once

#include "control.h"
#include "text/text_limits.h"

#include <QColor>
#include <QTextEdit>
#include <QUrl>

namespace platform {

// Whether a link of a book's text may be handed to the system: only web pages and mail, never
// files, programs or other schemes a hostile book could name.
bool isSafeLink(const QUrl& url);

// A rich-text box: loads a file as RTF (a file that is not RTF shows as plain text), hands its
// whole formatted content to another box, and has a background colour.
class RichTextBox : public Control {
    Q_OBJECT
  public:
    // Files larger than this are not loaded; no book text comes near it.
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
    // What the pane lays out, so that no text keeps the window from answering: a book page
    // holds a few thousand characters, a novel some hundred thousand. Qt lays out the text in
    // the background in growing steps; at this total the longest stays well under 0.1 s.
    static constexpr textlimits::TextLimits kLimits{4000, 200'000};

    explicit RichTextBox(QWidget* parent);

    // Replaces the whole content. False, with the content unchanged, when the file is missing,
    // unreadable, empty or too large. Text beyond kLimits is broken or left out with a note.
    bool loadFile(const QString& path);
    // Loads RTF (or plain text) from memory, with the same rules.
    bool loadBytes(const QByteArray& bytes);

    // The whole content with its formatting, copied from `other`.
    void setContentFrom(const RichTextBox& other);
    QTextDocument* document() const { return edit_->document(); }
    QString plainText() const { return edit_->toPlainText(); }

    QColor backColor() const;
    void setBackColor(const QColor& color);

    QTextEdit* edit() const { return edit_; }

  private:
    // A click on a link in the read-only pane opens it in the system's browser or mailer.
    void RTBox_LinkClicked(const QUrl& url);

    QTextEdit* edit_;
};

}  // namespace platform
