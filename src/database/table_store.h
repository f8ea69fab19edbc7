#pragma once

// The table store: every table is one SQLite file in the program's data folder, named exactly as
// the program names the table ("games.db", "mygame_players.db"), holding one table of the same name
// whose columns carry the field names. "The table exists" means "the file exists".
//
// Cursors (Table, Query) walk rows in primary-key order, edit one row at a time and post it, the
// way the rest of the program expects a desktop database engine to behave.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/error.h"

struct sqlite3;

namespace likentor {

class ErrorLog;

enum class FieldType { Text, Integer, Boolean, AutoIncrement };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::Text;
  int size = 0;  // texts: the maximum length in characters; longer texts are cut to it
  bool required = false;
};

class Connection;  // one SQLite connection per table file, shared by every cursor on that file

// How the tables of a data folder are opened: for reading and writing, or only for reading
// (commands that change nothing, which then also work on a folder they may not write and beside a
// copy of the program that writes).
enum class Access { ReadWrite, ReadOnly };

// A table file that SQLite cannot read as a table: not a database, damaged, or without the table
// (an empty file, say). Other failures to open a table (no rights, locked) are plain Errors.
class DamagedTableError : public Error {
 public:
  using Error::Error;
};

// The data folder and the tables in it. Keeps one connection per table file, shared by every cursor
// and query that works on that file, so that cursors see each other's posts and transactions.
class Database {
 public:
  explicit Database(std::filesystem::path folder, Access access = Access::ReadWrite);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path TablePath(std::string_view tableName) const;
  bool TableExists(std::string_view tableName) const;

  // Creates the table anew from its fields, replacing a table of that name. The first field is the
  // primary key. The new table is made in a file beside the old one and moved into its place only
  // when complete, so a creation that fails (a full disk) leaves the earlier file as it was. Throws
  // Error when the file cannot be written. Cursors still open on the old table are closed under
  // them: using them again fails with a message.
  void CreateTable(std::string_view tableName, const std::vector<FieldDef>& fields);
  void DeleteTable(std::string_view tableName);
  // Puts the table `replacement` (a working table made and filled beside `tableName`, with the same
  // fields) in the place of `tableName`, replacing it whole; `replacement` is gone afterwards.
  // Cursors still open on either table are closed under them. Error when the file cannot be moved;
  // `tableName` is then as it was.
  void ReplaceTable(std::string_view tableName, std::string_view replacement);

  // The shared connection of a table file (opened on first use). Throws Error when the file is
  // missing or cannot be opened, DamagedTableError when it is not a readable table.
  Connection& ConnectionFor(std::string_view tableName);
  // The same connection, shared: cursors keep it alive while they are open, even when the table is
  // released or replaced meanwhile.
  std::shared_ptr<Connection> ShareConnection(std::string_view tableName);
  // Drops the cached connection of a table (before the file is replaced or deleted).
  void Release(std::string_view tableName);
  // Drops every cached connection (cursors that are still open keep theirs).
  void ReleaseAll();

 private:
  std::filesystem::path folder_;
  Access access_;
  // Releases a table's connection and detaches every connection still open on its file.
  void DetachTable(std::string_view tableName);

  std::map<std::string, std::shared_ptr<Connection>, std::less<>> connections_;
  // Every connection handed out, also after Release, to tell whether a table file is still in use.
  std::map<std::string, std::vector<std::weak_ptr<Connection>>, std::less<>> handedOut_;
};

// Makes sure the data folder exists and is writable (the "alias" of the data folder).
bool CreateAlias(const std::filesystem::path& dataFolder);

// A cursor over the rows of one table or query result. Reading a field of a pending edit reads the
// edited value. Moving the cursor posts a pending edit; closing discards it. When the table was
// written since the current row was read (by another cursor, a RowSnapshot or a statement on the
// same connection), the row is read again before a field is read or Edit starts, so that a cursor
// never posts an old copy of a row back over a newer post.
class Cursor {
 public:
  virtual ~Cursor();
  Cursor(const Cursor&) = delete;
  Cursor& operator=(const Cursor&) = delete;

  bool IsOpen() const;
  virtual void Close();

  // Moving posts a pending edit first; Error when that post is refused.
  void First();
  void Next();  // at the last row: stays there and Eof becomes true
  void Prior();
  void Last();
  bool Eof() const;
  int RecordCount() const;

  // Exact, case-sensitive; the cursor moves to the first matching row in key order when found.
  bool Locate(std::string_view field, std::string_view value);
  bool Locate(std::string_view field, int value);

  void Append();  // a new row in edit state
  void Edit();    // the current row in edit state
  void SetText(std::string_view field, std::string_view value);
  void SetInt(std::string_view field, int value);
  void SetBool(std::string_view field, bool value);
  void SetNull(std::string_view field);
  // False when the store refuses the row: a required field empty, the key taken, or SQLite refused
  // the write (read-only file, full disk, locked). The edit stays pending; the caller cancels and
  // logs.
  [[nodiscard]] bool Post();
  void Cancel();
  bool InEdit() const;
  // Why the last refused post was refused (for logs and tests).
  const std::string& LastError() const;
  // The table's field definitions.
  const std::vector<FieldDef>& Fields() const;
  bool HasField(std::string_view name) const;

  std::string GetText(std::string_view field) const;  // "" for null
  int GetInt(std::string_view field) const;           // Error when not a whole number or null
  int GetInt(std::string_view field, int ifNull) const;
  bool GetBool(std::string_view field) const;  // false for null
  bool IsNull(std::string_view field) const;

  struct State;  // opaque; defined beside the implementation

 protected:
  friend class RowSnapshot;  // takes a query's result as its snapshot of keys

  Cursor();
  std::unique_ptr<State> state_;
};

// Posts the cursor's pending edit. When the store refuses the row, the edit is cancelled and
// `message` goes to the error log, and the answer is false: the row stays as it was and the work
// goes on with the next one.
bool PostOrCancel(Cursor& cursor, ErrorLog& log, std::string_view message);
// The same for a change that must not be lost: a refused row is cancelled and the Error
// "<what> was not stored: <why the store refused it>." ends the work.
void PostOrThrow(Cursor& cursor, std::string_view what);

// A cursor on a whole table, in primary-key order.
class Table : public Cursor {
 public:
  Table();
  Table(Database& db, std::string_view tableName);  // opens at once
  void Open(Database& db, std::string_view tableName);
  void Close() override;
  const std::string& TableName() const;  // "" when unnamed

  // Bulk writes: everything posted between Begin and Commit is one SQLite transaction.
  void BeginTransaction();
  void Commit();
};

// A live query built from SQL lines ("SELECT *", From "x.db", WHERE/AND lines with =, <>, >=, LIKE,
// OR, parentheses; booleans compared with 'true'). The result is the keys that matched when it
// opened; each row is read fresh when the cursor reaches it; posts go to the table. A posted row
// that no longer meets the condition leaves the result and the row after it becomes current.
class Query : public Cursor {
 public:
  Query();
  void Clear();                // closes and removes the SQL lines
  void Add(std::string line);  // appends one SQL line
  const std::vector<std::string>& Sql() const;
  void Open(Database& db);  // Error with SQLite's message when the statement is bad
  void Close() override;
  // The table named by the From line ("" before the query is opened).
  const std::string& TableName() const;
};

// Writes over many rows at once, for the work that moves whole ranges of a catalogue (an art pack
// taken away). Each is one statement or one transaction on the table's shared connection, so that
// open cursors read their rows again; a refusal (a read-only file, a full disk) throws Error naming
// the table, and leaves the table as it was.
//
// Deletes every row whose integer field `field` lies from `first` to `last`; returns how many.
int DeleteRows(Database& db, std::string_view tableName, std::string_view field, int first,
               int last);
// Gives the rows new numbers in the integer field `field`: a row whose value is a key of `moves`
// gets the mapped value. The old numbers are taken in ascending order, so that numbers that only
// move down (gaps closed in a key field) never meet a row still holding the new number. Returns
// how many rows changed.
int RenumberRows(Database& db, std::string_view tableName, std::string_view field,
                 const std::map<int, int>& moves);
// The largest value of an integer field, 0 for an empty table.
int LargestValue(Database& db, std::string_view tableName, std::string_view field);

// Quotes user text as an SQL string literal ('O''Neill'), so that it can never change a statement.
std::string QuoteSql(std::string_view text);
// Quotes a table or field name for a statement ("a""b"), so that a name can never change one.
std::string QuoteSqlName(std::string_view name);
// Escapes % _ and \ for a LIKE pattern used with ESCAPE '\'.
std::string EscapeLike(std::string_view text);

// Runs a transaction on a table's connection. Commit() commits it. Going out of scope without it
// commits what was posted (Unfinished::Commit: a run that stops keeps what it recorded) or undoes
// it (Unfinished::RollBack: an import that fails or is stopped leaves its table as it was). Never
// throws from the destructor.
class TableTransaction {
 public:
  enum class Unfinished { Commit, RollBack };
  TableTransaction(Database& db, std::string_view tableName,
                   Unfinished unfinished = Unfinished::Commit);
  ~TableTransaction();
  TableTransaction(const TableTransaction&) = delete;
  TableTransaction& operator=(const TableTransaction&) = delete;
  void Commit();

 private:
  std::shared_ptr<Connection> connection_;
  bool open_;
  Unfinished unfinished_;
};

}  // namespace likentor
