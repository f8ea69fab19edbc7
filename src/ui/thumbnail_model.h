#pragma once

// The portraits page's model: one row per player of a gallery (no widget per player). A player's
// picture is read and decoded on a worker thread the first time a view asks for it, into a cache
// bounded in bytes; until it arrives the view shows an empty frame, and the row is told changed
// when it is there. The window's thread never waits for the disk.

#include <QAbstractListModel>
#include <QCache>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QThreadPool>
#include <deque>
#include <mutex>
#include <vector>

#include "app/portrait_gallery.h"

namespace likentor {

class ThumbnailModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // What a row gives besides its name (DisplayRole), its picture (DecorationRole, a null image
  // while it is read) and "<name>, <team>" (AccessibleTextRole).
  enum Role {
    PlayerIdRole = Qt::UserRole + 1,
    LockedRole,  // bool
    OwnRole,     // bool: the picture is the user's own (known once it was read)
    BeforeRole,  // QImage: the picture a run replaced (null while read, or when none)
    HasBeforeRole,
  };

  // The most the cache of decoded pictures holds.
  static constexpr qint64 kCacheBytes = 64LL * 1024 * 1024;

  explicit ThumbnailModel(QObject* parent = nullptr);
  ~ThumbnailModel() override;  // waits for the decodes going

  // Shows `gallery` (a new team, run or search); pictures already read are kept.
  void SetGallery(Gallery gallery);
  const Gallery& Shown() const { return gallery_; }
  const GalleryPlayer& Player(int row) const {
    return gallery_.players[static_cast<std::size_t>(row)];
  }
  // The row of a player, -1 when not shown.
  int RowOf(int playerId) const;

  // The pictures of these players (all when none is given) are read again: they were changed.
  void Reload(const std::vector<int>& playerIds = {});
  void SetLocked(const std::vector<int>& playerIds, bool locked);
  // Whether the rows show the picture a run replaced beside each portrait.
  void SetBeforeShown(bool shown);
  bool BeforeShown() const { return beforeShown_; }

  // The bytes the decoded pictures hold now.
  qint64 CacheBytes() const { return cache_.totalCost(); }
  // Pictures asked for and not yet decoded.
  int Waiting() const { return static_cast<int>(requested_.size()); }
  // True when the row's picture (and its earlier picture, when shown) has been decoded.
  bool Ready(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 signals:
  // Every picture asked for so far has arrived.
  void AllDecoded();

 private:
  struct Request {
    qint64 key = 0;
    quint64 generation = 0;
    std::filesystem::path folder;
    std::filesystem::path file;  // empty: the current picture, found on the worker
    GalleryPlayer player;
  };
  struct Decoded {
    QImage image;
    bool own = false;
  };
  // The cache key of a player's current picture, or of the picture a run replaced.
  static qint64 Key(int playerId, bool before) { return qint64(playerId) * 2 + (before ? 1 : 0); }
  const Decoded* Picture(int row, bool before) const;
  void Ask(qint64 key, const GalleryPlayer& player, bool before) const;
  void DecodeNext();
  void Arrived(qint64 key, quint64 generation, const QImage& image, bool own);

  Gallery gallery_;
  QHash<int, int> rows_;  // player id -> row
  bool beforeShown_ = false;
  quint64 generation_ = 0;  // pictures read before a Reload are not taken
  mutable QCache<qint64, Decoded> cache_;
  mutable QSet<qint64> requested_;
  // Requests waiting for the worker, the newest first in line: the rows on screen now.
  mutable std::mutex queueMutex_;
  mutable std::deque<Request> queue_;
  mutable QThreadPool pool_;
};

}  // namespace likentor
