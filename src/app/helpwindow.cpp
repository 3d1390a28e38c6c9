#include "app/helpwindow.h"

#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/commandtable.h"
#include "documents/commands.h"
#include "documents/fields.h"

namespace {

// In book order; the first is the contents page.
const char* const kPageFiles[] = {"index.html",     "files.html",   "edit.html",    "view.html",
                                  "make.html",      "effects.html", "complex.html", "filters.html",
                                  "windows.html",   "values.html",  "keys.html",    "music.html",
                                  "helponhelp.html"};

// What an edit field takes, by the unit value class it reads with.
QString UnitText(const std::string& unitClass) {
  static const std::pair<const char*, const char*> kUnits[] = {
      {"unitTimePosMore",
       "a time above 0: s or ms, or a frequency in Hz, kHz or a note name "
       "(taken as its period)"},
      {"unitTimePos", "a time of 0 or more: s, ms, Hz, kHz or a note name"},
      {"unitTime", "a time: s, ms, Hz, kHz or a note name"},
      {"unitFreq", "a frequency: Hz, kHz, s, ms or a note name"},
      {"unitVolumeFactorPosMoreLess1", "a volume factor between 0 and 1: a number, % or dB"},
      {"unitVolumeFactor", "a volume factor: a number, % or dB"},
      {"unitFactorPosMore", "a factor above 0: a number or %"},
      {"unitFactorNotNul", "a factor other than 0: a number or %"},
      {"unitFactorPos", "a factor of 0 or more: a number or %"},
      {"unitFactor", "a factor: a number, % or dB"},
      {"unitBalAngleFactor", "a balance from -1 (left) to 1 (right): a number, % or degrees (')"},
      {"unitAngleFactor", "an angle: a fraction of a turn, % or degrees (')"},
      {"unitIntegerPosMore", "a whole number above 0"},
      {"unitIntegerPos", "a whole number of 0 or more"},
      {"unitInteger", "a whole number"},
      {"unitWaveValPosMore", "a sample value above 0: a number, % of full scale or $ (raw)"},
      {"unitWaveVal", "a sample value: a number, % of full scale or $ (raw)"},
      {"unitWavePosition", "a position in the wave: s or ms from its start"},
  };
  for (const auto& [name, text] : kUnits) {
    if (unitClass == name) return text;
  }
  return QString::fromStdString(unitClass);
}

QString Escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

}  // namespace

QString FieldsTable(const QString& commandName) {
  const std::optional<TWaveCommand> command = FindWaveCommand(commandName.toStdString());
  const TFormDesc* form = command ? FindForm(*command) : nullptr;
  if (form == nullptr) return {};
  QString html = QString(
                     "<p><b>Dialog \"%1\"</b></p><table class=\"fields\" border=\"1\" "
                     "cellspacing=\"0\" cellpadding=\"3\"><tr><th>Field</th><th>Takes</th></tr>")
                     .arg(Escaped(form->caption));
  for (const TFieldDesc& field : form->fields) {
    QString takes;
    switch (field.kind) {
      case TFieldKind::Edit:
        takes = UnitText(field.unitClass);
        break;
      case TFieldKind::WaveList:
        takes = "an open wave, by its registered name (none: not used)";
        break;
      case TFieldKind::Choice: {
        QStringList options;
        for (const std::string& option : field.options) options << Escaped(option);
        takes = "one of: " + options.join(", ");
        break;
      }
      case TFieldKind::Check:
        takes = "on or off";
        break;
    }
    QString label = Escaped(field.label).trimmed();
    if (field.perFrequency) label += " (per frequency)";
    html += QString("<tr><td>%1</td><td>%2</td></tr>").arg(label, takes);
  }
  return html + "</table>";
}

QString KeysTable() {
  QString html =
      "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
      "<tr><th>Key</th><th>Command</th><th>Does</th></tr>";
  for (const TCommandRow& row : CommandRows()) {
    if (*row.Key == '\0' || *row.Caption == '\0' || row.Rule == TCommandRule::Unavailable ||
        row.Rule == TCommandRule::Hidden) {
      continue;
    }
    const QString does =
        QString(row.Hint).contains('|') ? QString(row.Hint).section('|', 1) : QString(row.Hint);
    html += QString("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                .arg(QKeySequence(row.Key).toString(QKeySequence::NativeText).toHtmlEscaped(),
                     QString(row.Caption).remove('&').toHtmlEscaped(), does.toHtmlEscaped());
  }
  return html + "</table>";
}

THelpWindow::THelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      Tabs(new QTabWidget),
      Contents(new QListWidget),
      IndexFilter(new QLineEdit),
      IndexList(new QListWidget),
      SearchEdit(new QLineEdit),
      SearchResults(new QListWidget),
      Browser(new QTextBrowser) {
  setWindowTitle("Tonbrisk Help");
  resize(900, 640);
  LoadPages();

  for (const TPage& page : Pages) {
    auto* item = new QListWidgetItem(page.title, Contents);
    item->setData(Qt::UserRole, page.file);
  }
  Tabs->addTab(Contents, "Contents");

  auto* indexPage = new QWidget;
  auto* indexLayout = new QVBoxLayout(indexPage);
  IndexFilter->setPlaceholderText("Type a keyword");
  indexLayout->addWidget(IndexFilter);
  indexLayout->addWidget(IndexList);
  Tabs->addTab(indexPage, "Index");
  FillIndex({});

  auto* searchPage = new QWidget;
  auto* searchLayout = new QVBoxLayout(searchPage);
  SearchEdit->setPlaceholderText("Words to find, then Enter");
  searchLayout->addWidget(SearchEdit);
  searchLayout->addWidget(SearchResults);
  Tabs->addTab(searchPage, "Search");

  // Links between pages go through ShowPage, which fills in the field tables.
  Browser->setOpenLinks(false);
  connect(Browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    if (url.scheme().isEmpty()) {
      const QString current = Browser->property("helpPage").toString();
      ShowPage(url.path().isEmpty() ? current + "#" + url.fragment() : url.toString());
    } else {
      QDesktopServices::openUrl(url);
    }
  });
  auto* splitter = new QSplitter;
  splitter->addWidget(Tabs);
  splitter->addWidget(Browser);
  splitter->setStretchFactor(1, 3);
  splitter->setSizes({240, 660});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);

  const auto open = [this](QListWidgetItem* item) {
    ShowPage(item->data(Qt::UserRole).toString());
  };
  connect(Contents, &QListWidget::itemActivated, this, open);
  connect(Contents, &QListWidget::itemClicked, this, open);
  connect(IndexList, &QListWidget::itemActivated, this, open);
  connect(IndexList, &QListWidget::itemClicked, this, open);
  connect(IndexFilter, &QLineEdit::textChanged, this, &THelpWindow::FillIndex);
  connect(IndexFilter, &QLineEdit::returnPressed, this, [this] {
    if (IndexList->count() > 0) ShowPage(IndexList->item(0)->data(Qt::UserRole).toString());
  });
  connect(SearchEdit, &QLineEdit::returnPressed, this, &THelpWindow::RunSearch);
  connect(SearchResults, &QListWidget::itemActivated, this, open);
  connect(SearchResults, &QListWidget::itemClicked, this, [this, open](QListWidgetItem* item) {
    open(item);
    // The first hit of the first word, highlighted.
    Browser->find(SearchEdit->text().split(' ', Qt::SkipEmptyParts).value(0));
  });
  ShowPage(kPageFiles[0]);
}

void THelpWindow::LoadPages() {
  static const QRegularExpression kTitle("<title>(.*?)</title>");
  static const QRegularExpression kHeading("<h[23] id=\"([^\"]+)\">(.*?)</h[23]>");
  static const QRegularExpression kKeywords("<meta name=\"keywords\" content=\"([^\"]*)\"");
  static const QRegularExpression kFields("<!--fields:(\\w+)-->");
  static const QRegularExpression kTags("<[^>]*>");
  for (const char* file : kPageFiles) {
    QFile resource(QString(":/help/") + file);
    if (!resource.open(QIODevice::ReadOnly)) continue;
    TPage page{file, file, QString::fromUtf8(resource.readAll()), {}};
    // The field tables come from the dialogs' own descriptions, so the book
    // never disagrees with them.
    for (auto match = kFields.match(page.html); match.hasMatch();
         match = kFields.match(page.html, match.capturedStart())) {
      page.html.replace(match.capturedStart(), match.capturedLength(),
                        FieldsTable(match.captured(1)));
    }
    page.html.replace("<!--keys-->", KeysTable());
    if (auto match = kTitle.match(page.html); match.hasMatch()) page.title = match.captured(1);
    for (auto it = kHeading.globalMatch(page.html); it.hasNext();) {
      const auto match = it.next();
      QString keyword = match.captured(2);
      keyword.remove(kTags);
      Index.emplace_back(keyword.trimmed(), page.file + "#" + match.captured(1));
    }
    if (auto match = kKeywords.match(page.html); match.hasMatch()) {
      for (const QString& keyword : match.captured(1).split(',', Qt::SkipEmptyParts)) {
        Index.emplace_back(keyword.trimmed(), page.file);
      }
    }
    QTextDocument document;
    document.setHtml(page.html);
    page.text = document.toPlainText();
    Pages.push_back(std::move(page));
  }
  // One entry per keyword and page whatever its case, a heading's place
  // before the whole page.
  const auto page = [](const std::pair<QString, QString>& entry) {
    return entry.second.section('#', 0, 0);
  };
  std::sort(Index.begin(), Index.end(), [&page](const auto& a, const auto& b) {
    if (const int order = a.first.compare(b.first, Qt::CaseInsensitive); order != 0) {
      return order < 0;
    }
    if (page(a) != page(b)) return page(a) < page(b);
    return a.second.contains('#') && !b.second.contains('#');
  });
  Index.erase(std::unique(Index.begin(), Index.end(),
                          [&page](const auto& a, const auto& b) {
                            return a.first.compare(b.first, Qt::CaseInsensitive) == 0 &&
                                   page(a) == page(b);
                          }),
              Index.end());
}

void THelpWindow::FillIndex(const QString& filter) {
  IndexList->clear();
  for (const auto& [keyword, target] : Index) {
    if (!filter.isEmpty() && !keyword.startsWith(filter.trimmed(), Qt::CaseInsensitive)) continue;
    // A keyword on several pages names its page.
    const auto same = [&keyword](const auto& entry) {
      return entry.first.compare(keyword, Qt::CaseInsensitive) == 0;
    };
    QString text = keyword;
    if (std::count_if(Index.begin(), Index.end(), same) > 1) {
      const QString file = target.section('#', 0, 0);
      for (const TPage& page : Pages) {
        if (page.file == file) text += " (" + page.title + ")";
      }
    }
    auto* item = new QListWidgetItem(text, IndexList);
    item->setData(Qt::UserRole, target);
  }
}

QStringList THelpWindow::Search(const QString& query) const {
  const QStringList words = query.split(' ', Qt::SkipEmptyParts);
  QStringList found;
  if (words.isEmpty()) return found;
  for (const TPage& page : Pages) {
    const bool all = std::all_of(words.begin(), words.end(), [&page](const QString& word) {
      return page.text.contains(word, Qt::CaseInsensitive);
    });
    if (all) found << page.file;
  }
  return found;
}

void THelpWindow::RunSearch() {
  SearchResults->clear();
  const QStringList found = Search(SearchEdit->text());
  for (const TPage& page : Pages) {
    if (!found.contains(page.file)) continue;
    auto* item = new QListWidgetItem(page.title, SearchResults);
    item->setData(Qt::UserRole, page.file);
  }
  if (found.isEmpty()) new QListWidgetItem("Nothing found", SearchResults);
}

void THelpWindow::ShowPage(const QString& target) {
  const QString file = target.section('#', 0, 0);
  const QString anchor = target.section('#', 1);
  for (const TPage& page : Pages) {
    if (page.file != file) continue;
    if (Browser->property("helpPage").toString() != file) {
      Browser->setHtml(page.html);
      Browser->setProperty("helpPage", file);
    }
    if (anchor.isEmpty()) {
      Browser->moveCursor(QTextCursor::Start);
      Browser->ensureCursorVisible();
    } else {
      Browser->scrollToAnchor(anchor);
    }
    Browser->setProperty("helpTopic", target);
    show();
    raise();
    activateWindow();
    return;
  }
}

bool THelpWindow::ShowTopic(const QString& id) {
  for (const auto& [keyword, target] : Index) {
    if (target.section('#', 1) == id) {
      ShowPage(target);
      return true;
    }
  }
  return false;
}

void THelpWindow::ShowIndex() {
  Tabs->setCurrentIndex(1);
  IndexFilter->setFocus();
  show();
  raise();
}

void THelpWindow::ShowSearch() {
  Tabs->setCurrentIndex(2);
  SearchEdit->setFocus();
  show();
  raise();
}

QString THelpWindow::CurrentSource() const { return Browser->property("helpTopic").toString(); }

QString THelpWindow::PageText(const QString& file) const {
  for (const TPage& page : Pages) {
    if (page.file == file) return page.text;
  }
  return {};
}
