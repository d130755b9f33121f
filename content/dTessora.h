#pragma once
// The program's local database: an SQLite file "tessora.dat" in the program folder,
// made from the empty database "tessora.da0" shipped beside it. It holds the
// advertisement pictures the main window falls back on when the server has none.
#include <QImage>
#include <QString>
#include <memory>

class QSqlQuery;

namespace tessora {

// The statements of the ADVIMAGES table. AI_IMG holds a complete picture file (JPEG).
inline constexpr const char* kCrAdvImages = "CREATE TABLE ADVIMAGES (\n"
                                            "AI_ID INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,\n"
                                            "AI_NAME TEXT(15),\n"
                                            "AI_IMG BLOB);";
inline constexpr const char* kGetAdvImages = "SELECT * FROM ADVIMAGES;";
// Nothing in the program adds rows; this is how the build adds the shipped pictures.
inline constexpr const char* kAddAdvImage = "INSERT INTO ADVIMAGES (\n"
                                            "AI_NAME,\n"
                                            "AI_IMG\n"
                                            ")\n"
                                            "VALUES\n"
                                            "(\n"
                                            ":AI_NAME,\n"
                                            ":AI_IMG\n"
                                            ")\n"
                                            ";";

class TdmTessora {
public:
    // Opens the database of `folder` (the program folder when empty) and runs
    // PrepareDatabase; Prepared() tells whether the picture query could be opened.
    explicit TdmTessora(const QString& folder = {});
    ~TdmTessora();
    TdmTessora(const TdmTessora&) = delete;
    TdmTessora& operator=(const TdmTessora&) = delete;

    // Closes the connection and forgets its file; when `path` exists the connection
    // is set to it (it opens on first use), else "<path> file not found." is shown.
    void OpenDatabase(const QString& path);
    // Replaces tessora.dat by a copy of tessora.da0, opens it and creates the tables
    // the copy lacks. Any failure ends it silently at that point.
    void CreateDatabase();
    // Opens tessora.dat, creating it first when it is missing, then opens the picture
    // query. False (with LastError) when the query cannot be opened.
    bool PrepareDatabase();
    // Loads one picture drawn at random from the table into `graphic`; an empty table,
    // an empty or unreadable picture, or a second call leaves `graphic` as it is.
    void PickAdvertPicture(QImage& graphic);

    QString DatabaseFile() const { return Folder + "tessora.dat"; }
    QString EmptyDatabaseFile() const { return Folder + "tessora.da0"; }
    // The file the connection is set to; empty when it has none.
    QString ConnectedFile() const { return ConnectedPath; }
    bool Prepared() const { return QueryOpen; }
    QString LastError() const { return Error; }

    // The creation statement of a table; empty for a table the program has none for.
    static QString CreationStatement(const QString& table);

private:
    bool Exec(const QString& sql);
    bool OpenConnection();
    void CloseConnection();

    QString Folder;
    QString ConnectionName; // unique per instance
    QString ConnectedPath;
    QString Error;
    std::unique_ptr<QSqlQuery> qryGetAdvImages;
    bool QueryOpen = false;
};

} // namespace tessora
