#pragma once

#include "core/catalog.h"
#include "core/file_batch.h"
#include "platform/text_codec.h"

#include <QDir>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QComboBox;
class QFontComboBox;
class QLabel;
class QTextDocument;
class QTextEdit;
class QTextCharFormat;

namespace editor {

// The text of the page chosen in the editor, 本页文字, edited with its formatting. Edits of
// every page are kept until saved: an RTF page is saved as RTF, a plain-text page as plain text
// in the encoding it was read in.
class CaptionEditor : public QWidget {
    Q_OBJECT
  public:
    explicit CaptionEditor(QWidget* parent = nullptr);
    ~CaptionEditor() override;

    // Shows the text of `page` (its edits if it has some); nothing editable without a page.
    void showPage(const QDir& book, const core::CatalogRow* page);
    // The page shown has no text file yet: from now on its text is `name`, a new RTF file.
    void adoptTextFile(const QString& name);
    // Whether some page's text was changed and not saved.
    bool hasUnsaved() const;
    // Adds every changed text to `batch`, returning their names. A text whose RTF file held
    // content this editor does not keep is added only after the person agreed; the names of
    // those refused go to `refused`.
    QStringList addChanges(core::FileBatch& batch, QStringList* refused);
    // The texts named were written.
    void markSaved(const QStringList& names);
    // Forgets every edit (the book was read again).
    void discard();
    // The formatted text being edited, by file name; null when it has no edits.
    const QTextDocument* editedText(const QString& name) const;

    QTextEdit* textEdit() const { return edit_; }
    QAction* boldAction = nullptr;
    QAction* italicAction = nullptr;
    QAction* underlineAction = nullptr;
    QAction* colorAction = nullptr;
    QAction* alignLeftAction = nullptr;
    QAction* alignCenterAction = nullptr;
    QAction* alignRightAction = nullptr;
    QFontComboBox* fontBox = nullptr;
    QComboBox* sizeBox = nullptr;
    // Asks for a text colour; a colour dialog unless a test answers.
    std::function<QColor(const QColor&)> chooseColor;

  signals:
    // Typing began on a page without a text file; the owner names one with adoptTextFile.
    void textFileWanted();
    // The unsaved state changed.
    void modifiedChanged();

  private:
    struct Text;
    void keepEdits();
    void merge(const QTextCharFormat& format);
    void showFormat();

    std::map<QString, std::unique_ptr<Text>> texts_;  // every text opened, by file name
    QString shown_;                                   // its file name, or empty
    bool pageShown_ = false;
    bool loading_ = false;
    QLabel* title_;
    QTextEdit* edit_;
};

}  // namespace editor
