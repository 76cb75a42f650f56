#include "FirefoxPlacesFixture.h"

#include <QFile>

#include <sqlite3.h>

const QStringList FirefoxPlacesFixture::kOutline{
    "[Bookmarks Menu]",
    "  Menü page <https://menu.example/>",
    "[Bookmarks Toolbar]",
    "  [Ordnér]",
    "    [Deep]",
    "      Page title <https://deep.example/>",
    "      https://bare.example/ <https://bare.example/>",
    "  Bar & Co <https://bar.example/?a=1&b=2> ~ What the page says of itself",
    "[Other Bookmarks]",
    "  Other one <https://other.example/>"};

const char *const FirefoxPlacesFixture::kSchema = R"(

CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL,
  url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT, preview_image_url TEXT, site_name TEXT, origin_id INTEGER,
  recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, recalc_alt_frecency INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER, lastModified INTEGER,
  guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0, syncChangeCounter INTEGER NOT NULL DEFAULT 1);
INSERT INTO moz_bookmarks (id, type, parent, position, title, guid) VALUES
  (1, 2, 0, 0, '', 'root________'), (2, 2, 1, 0, 'menu', 'menu________'), (3, 2, 1, 1, 'toolbar', 'toolbar_____'),
  (4, 2, 1, 2, 'tags', 'tags________'), (5, 2, 1, 3, 'unfiled', 'unfiled_____'), (6, 2, 1, 4, 'mobile', 'mobile______');
INSERT INTO moz_places (id, url, title, description) VALUES
  (1, 'https://bar.example/?a=1&b=2', 'Bar page', 'What the page says of itself'),
  (2, 'https://deep.example/', 'Page title', NULL), (3, 'https://bare.example/', NULL, NULL),
  (4, 'place:sort=8&maxResults=10', NULL, NULL), (5, 'javascript:alert(1)', NULL, NULL),
  (6, 'https://menu.example/', 'Menu', NULL), (7, 'https://other.example/', 'Other', NULL);
INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, guid) VALUES
  (10, 1, 6, 2, 0, 'Menü page', 1700000000000000, 'b10'), (11, 3, NULL, 2, 1, NULL, 0, 'b11'),
  (12, 1, 4, 2, 2, 'Most Visited', 0, 'b12'), (13, 1, 5, 2, 3, 'Script', 0, 'b13'),
  (20, 1, 1, 3, 1, 'Bar & Co', 0, 'b20'), (21, 2, NULL, 3, 0, 'Ordnér', 0, 'b21'),
  (22, 2, NULL, 21, 0, 'Deep', 0, 'b22'), (23, 1, 2, 22, 0, NULL, 0, 'b23'), (24, 1, 3, 22, 1, '', 0, 'b24'),
  (30, 2, NULL, 4, 0, 'work', 0, 'b30'), (31, 1, 1, 30, 0, NULL, 0, 'b31'),
  (40, 1, 7, 5, 0, 'Other one', 0, 'b40');
)";

bool FirefoxPlacesFixture::write(const QString &path)
{
    sqlite3 *db = nullptr;
    const bool opened = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK;
    const bool written = opened && sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return written;
}
