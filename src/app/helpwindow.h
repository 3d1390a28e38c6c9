#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

// The help book: the HTML pages of the resources in a window with their
// contents, a keyword index (every heading that names a command or topic,
// and the keywords a page declares), a full-text search and the page itself.
// A command's page shows its dialog's fields as the program reads them.
class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Shows a page ("edit.html"), or a topic ("edit.html#EditMix").
  void ShowPage(const QString& page);
  // Shows the page whose heading carries this id (a command name); false
  // when no page has it.
  bool ShowTopic(const QString& id);
  // Brings the index or the search to the front.
  void ShowIndex();
  void ShowSearch();

  // The pages whose text holds every word of `query` (case ignored), in
  // book order.
  QStringList Search(const QString& query) const;
  // Index entries "keyword" -> "page#id", sorted by keyword.
  const std::vector<std::pair<QString, QString>>& IndexEntries() const { return Index; }
  QString CurrentSource() const;
  // The plain text of a page as shown (field and key tables filled in).
  QString PageText(const QString& file) const;

 private:
  struct TPage {
    QString file;
    QString title;
    QString html;
    QString text;
  };
  void LoadPages();
  void FillIndex(const QString& filter);
  void RunSearch();

  std::vector<TPage> Pages;
  std::vector<std::pair<QString, QString>> Index;
  QTabWidget* Tabs;
  QListWidget* Contents;
  QLineEdit* IndexFilter;
  QListWidget* IndexList;
  QLineEdit* SearchEdit;
  QListWidget* SearchResults;
  QTextBrowser* Browser;
};

// The "Fields" table of a wave command's page: each field of its dialog with
// what it takes; empty for a command without a dialog.
QString FieldsTable(const QString& commandName);
// The keys of the command table, with what each does.
QString KeysTable();
