#include "caption_editor.h"

#include "platform/book_file.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "platform/rich_text_box.h"
#include "rtf/rtf.h"
#include "rtf/rtf_writer.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace editor {

struct CaptionEditor::Text {
    std::unique_ptr<QTextDocument> doc;
    bool rtf = true;
    platform::PageText plainAs{{}, QStringLiteral("UTF-8"), false};
    QStringList losses;   // what the RTF file held that the document does not
    bool agreed = false;  // to save over the losses
};

namespace {

QAction* formatAction(QWidget* owner, QLayout* bar, const QString& caption, const QKeySequence& key,
                      const QString& description) {
    auto* action = new QAction(caption, owner);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    owner->addAction(action);
    auto* button = new QToolButton(owner);
    button->setDefaultAction(action);
    button->setAccessibleName(platform::spokenCaption(caption));
    button->setAccessibleDescription(description);
    button->setToolTip(key.isEmpty() ? description
                                     : QStringLiteral("%1（%2）").arg(description, key.toString()));
    bar->addWidget(button);
    return action;
}

}  // namespace

CaptionEditor::CaptionEditor(QWidget* parent)
    : QWidget(parent),
      title_(new QLabel(QStringLiteral("本页文字"), this)),
      edit_(new QTextEdit(this)) {
    edit_->setAccessibleName(QStringLiteral("本页文字"));
    edit_->setAccessibleDescription(QStringLiteral("选中页的说明文字，可以编辑"));
    edit_->setAcceptRichText(true);
    title_->setBuddy(edit_);

    auto* bar = new QHBoxLayout;
    boldAction = formatAction(this, bar, QStringLiteral("粗体"), QKeySequence::Bold,
                              QStringLiteral("选中的文字加粗"));
    italicAction = formatAction(this, bar, QStringLiteral("斜体"), QKeySequence::Italic,
                                QStringLiteral("选中的文字倾斜"));
    underlineAction = formatAction(this, bar, QStringLiteral("下划线"), QKeySequence::Underline,
                                   QStringLiteral("选中的文字加下划线"));
    colorAction =
        formatAction(this, bar, QStringLiteral("颜色…"), {}, QStringLiteral("选中的文字的颜色"));
    for (QAction* a : {boldAction, italicAction, underlineAction}) a->setCheckable(true);
    auto* align = new QActionGroup(this);
    alignLeftAction =
        formatAction(this, bar, QStringLiteral("左对齐"), {}, QStringLiteral("段落靠左"));
    alignCenterAction =
        formatAction(this, bar, QStringLiteral("居中"), {}, QStringLiteral("段落居中"));
    alignRightAction =
        formatAction(this, bar, QStringLiteral("右对齐"), {}, QStringLiteral("段落靠右"));
    for (QAction* a : {alignLeftAction, alignCenterAction, alignRightAction}) {
        a->setCheckable(true);
        align->addAction(a);
    }
    fontBox = new QFontComboBox(this);
    fontBox->setAccessibleName(QStringLiteral("字体"));
    fontBox->setAccessibleDescription(QStringLiteral("选中的文字的字体"));
    sizeBox = new QComboBox(this);
    sizeBox->setEditable(true);
    sizeBox->setAccessibleName(QStringLiteral("字号"));
    sizeBox->setAccessibleDescription(QStringLiteral("选中的文字的大小，以磅计"));
    for (int size : {9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36, 48})
        sizeBox->addItem(QString::number(size));
    // Labelled, so a screen reader says what the boxes are for and not only what they show.
    for (auto [caption, box] : {std::pair{"字体", static_cast<QWidget*>(fontBox)},
                                std::pair{"字号", static_cast<QWidget*>(sizeBox)}}) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(box);
        bar->addWidget(label);
        bar->addWidget(box);
    }
    bar->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title_);
    layout->addLayout(bar);
    layout->addWidget(edit_, 1);

    chooseColor = [this](const QColor& now) {
        return QColorDialog::getColor(now, this, QStringLiteral("文字颜色"));
    };
    connect(boldAction, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        merge(f);
    });
    connect(italicAction, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        merge(f);
    });
    connect(underlineAction, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        merge(f);
    });
    connect(colorAction, &QAction::triggered, this, [this] {
        const QColor c = chooseColor(edit_->textColor());
        if (!c.isValid()) return;
        QTextCharFormat f;
        f.setForeground(c);
        merge(f);
    });
    const auto aligned = [this](Qt::Alignment a) { edit_->setAlignment(a); };
    connect(alignLeftAction, &QAction::triggered, this,
            [=] { aligned(Qt::AlignLeft | Qt::AlignAbsolute); });
    connect(alignCenterAction, &QAction::triggered, this, [=] { aligned(Qt::AlignHCenter); });
    connect(alignRightAction, &QAction::triggered, this,
            [=] { aligned(Qt::AlignRight | Qt::AlignAbsolute); });
    connect(fontBox, &QFontComboBox::textActivated, this, [this](const QString& family) {
        QTextCharFormat f;
        f.setFontFamilies({family});
        merge(f);
    });
    connect(sizeBox, &QComboBox::textActivated, this, [this](const QString& text) {
        const qreal points = text.toDouble();
        if (points <= 0 || points > 400) return;
        QTextCharFormat f;
        f.setFontPointSize(points);
        merge(f);
    });
    connect(edit_, &QTextEdit::currentCharFormatChanged, this, &CaptionEditor::showFormat);
    connect(edit_, &QTextEdit::cursorPositionChanged, this, &CaptionEditor::showFormat);
    connect(edit_, &QTextEdit::textChanged, this, [this] {
        if (loading_ || !pageShown_) return;
        if (shown_.isEmpty()) emit textFileWanted();
        emit modifiedChanged();
    });
    showPage({}, nullptr);
}

CaptionEditor::~CaptionEditor() {
    // The documents are ours; the edit must not be left showing one that goes first.
    loading_ = true;
    edit_->setDocument(new QTextDocument(edit_));
}

void CaptionEditor::merge(const QTextCharFormat& format) {
    QTextCursor cursor = edit_->textCursor();
    if (!cursor.hasSelection()) cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    edit_->mergeCurrentCharFormat(format);
}

void CaptionEditor::showFormat() {
    const QTextCharFormat f = edit_->currentCharFormat();
    boldAction->setChecked(f.fontWeight() >= QFont::DemiBold);
    italicAction->setChecked(f.fontItalic());
    underlineAction->setChecked(f.fontUnderline());
    const Qt::Alignment a = edit_->alignment();
    (a & Qt::AlignHCenter ? alignCenterAction
     : a & Qt::AlignRight ? alignRightAction
                          : alignLeftAction)
        ->setChecked(true);
    const QFont shown = f.font().resolve(edit_->document()->defaultFont());
    sizeBox->setEditText(QString::number(shown.pointSizeF()));
    fontBox->setCurrentFont(shown);
}

void CaptionEditor::showPage(const QDir& book, const core::CatalogRow* page) {
    loading_ = true;
    pageShown_ = page != nullptr;
    shown_ = page ? page->textFile : QString();
    edit_->setEnabled(pageShown_);
    title_->setText(page ? QStringLiteral("本页文字（第%1页 %2）").arg(page->pageNo, page->title)
                         : QStringLiteral("本页文字"));
    if (shown_.isEmpty()) {
        edit_->setDocument(new QTextDocument(edit_));  // the edit owns a blank one
        loading_ = false;
        return;
    }
    auto& text = texts_[shown_];
    if (!text) {
        text = std::make_unique<Text>();
        text->doc = std::make_unique<QTextDocument>();
        text->doc->setDefaultFont(edit_->font());
        text->rtf = shown_.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive);
        const platform::BookFileRead file =
            platform::readBookFile(book, shown_, platform::RichTextBox::kMaxFileBytes);
        rtf::ImportLosses losses;
        if (file.ok() && rtf::importRtf(file.bytes, *text->doc, {}, &losses)) {
            text->rtf = true;
            text->losses = losses.destinations;
        } else if (file.ok()) {
            text->rtf = false;
            text->plainAs = platform::readPageText(file.bytes);
            text->doc->setPlainText(text->plainAs.text);
        }
        text->doc->setModified(false);
    }
    // Shown already (the page moved, or just got its name): the cursor stays where it is.
    if (edit_->document() != text->doc.get()) edit_->setDocument(text->doc.get());
    edit_->setAcceptRichText(text->rtf);
    loading_ = false;
    showFormat();
}

void CaptionEditor::adoptTextFile(const QString& name) {
    if (!pageShown_ || !shown_.isEmpty() || name.isEmpty()) return;
    // The blank document typed into becomes the new file's text.
    auto text = std::make_unique<Text>();
    text->doc.reset(edit_->document()->clone());
    text->doc->setModified(true);
    text->rtf = true;
    shown_ = name;
    loading_ = true;
    edit_->setDocument(text->doc.get());
    texts_[name] = std::move(text);
    edit_->moveCursor(QTextCursor::End);
    loading_ = false;
    emit modifiedChanged();
}

bool CaptionEditor::hasUnsaved() const {
    for (const auto& [name, text] : texts_)
        if (text->doc->isModified()) return true;
    return false;
}

const QTextDocument* CaptionEditor::editedText(const QString& name) const {
    const auto it = texts_.find(name);
    return it != texts_.end() && it->second->doc->isModified() ? it->second->doc.get() : nullptr;
}

QStringList CaptionEditor::addChanges(core::FileBatch& batch, QStringList* refused) {
    QStringList names;
    for (auto& [name, text] : texts_) {
        if (!text->doc->isModified()) continue;
        if (!text->losses.isEmpty() && !text->agreed) {
            const auto answer = platform::messageBox(
                this,
                {QStringLiteral("%1 中有本程序不显示的内容（%2），保存后将会丢失。仍要保存吗？")
                     .arg(name, text->losses.join(QStringLiteral("、"))),
                 window()->windowTitle(), QMessageBox::Save | QMessageBox::Cancel,
                 QMessageBox::Warning});
            if (answer != QMessageBox::Save) {
                *refused << name;
                continue;
            }
            text->agreed = true;
        }
        batch.add(name, text->rtf
                            ? rtf::writeDocument(*text->doc)
                            : platform::encodePageText(text->doc->toPlainText(), text->plainAs));
        names << name;
    }
    return names;
}

void CaptionEditor::markSaved(const QStringList& names) {
    for (const QString& name : names)
        if (const auto it = texts_.find(name); it != texts_.end())
            it->second->doc->setModified(false);
    emit modifiedChanged();
}

void CaptionEditor::discard() {
    loading_ = true;
    edit_->setDocument(new QTextDocument(edit_));
    texts_.clear();
    shown_.clear();
    pageShown_ = false;
    loading_ = false;
    emit modifiedChanged();
}

}  // namespace editor
