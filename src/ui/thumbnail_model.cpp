#include "ui/thumbnail_model.h"

#include <QThread>
#include <algorithm>

namespace likentor {

namespace {

// Requests beyond this many are dropped, the oldest first: they are rows that scrolled away, and
// are asked for again when they come back.
constexpr std::size_t kMostWaiting = 512;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

ThumbnailModel::ThumbnailModel(QObject* parent) : QAbstractListModel(parent) {
  cache_.setMaxCost(kCacheBytes);
  // Two cores are the least a machine has: decoding never takes them all from the window.
  pool_.setMaxThreadCount(std::clamp(QThread::idealThreadCount() - 1, 1, 2));
}

ThumbnailModel::~ThumbnailModel() {
  {
    const std::lock_guard lock(queueMutex_);
    queue_.clear();
  }
  pool_.waitForDone();
}

void ThumbnailModel::SetGallery(Gallery gallery) {
  beginResetModel();
  gallery_ = std::move(gallery);
  rows_.clear();
  rows_.reserve(static_cast<qsizetype>(gallery_.players.size()));
  for (std::size_t i = 0; i < gallery_.players.size(); ++i) {
    rows_.insert(gallery_.players[i].playerId, static_cast<int>(i));
  }
  endResetModel();
}

int ThumbnailModel::RowOf(int playerId) const {
  return rows_.value(playerId, -1);
}

void ThumbnailModel::Reload(const std::vector<int>& playerIds) {
  ++generation_;
  {
    const std::lock_guard lock(queueMutex_);
    queue_.clear();
  }
  requested_.clear();
  if (playerIds.empty()) {
    cache_.clear();
  } else {
    for (int id : playerIds) {
      cache_.remove(Key(id, false));
      cache_.remove(Key(id, true));
    }
  }
  if (!gallery_.players.empty()) emit dataChanged(index(0), index(rowCount() - 1));
}

void ThumbnailModel::SetLocked(const std::vector<int>& playerIds, bool locked) {
  for (int id : playerIds) {
    const int row = RowOf(id);
    if (row < 0) continue;
    gallery_.players[static_cast<std::size_t>(row)].locked = locked;
    emit dataChanged(index(row), index(row), {LockedRole});
  }
}

void ThumbnailModel::SetBeforeShown(bool shown) {
  if (shown == beforeShown_) return;
  // The rows change size: the views lay them out anew.
  beginResetModel();
  beforeShown_ = shown;
  endResetModel();
}

bool ThumbnailModel::Ready(int row) const {
  const GalleryPlayer& player = Player(row);
  if (!cache_.contains(Key(player.playerId, false))) return false;
  return !beforeShown_ || player.before.empty() || cache_.contains(Key(player.playerId, true));
}

int ThumbnailModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(gallery_.players.size());
}

QVariant ThumbnailModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const GalleryPlayer& player = Player(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return Text(player.Name());
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
      return Text(player.Name() + ", " + (player.team.empty() ? "no team" : player.team));
    case Qt::DecorationRole: {
      const Decoded* picture = Picture(index.row(), false);
      return picture ? picture->image : QImage();
    }
    case PlayerIdRole:
      return player.playerId;
    case LockedRole:
      return player.locked;
    case OwnRole: {
      const Decoded* picture = Picture(index.row(), false);
      return picture != nullptr && picture->own;
    }
    case HasBeforeRole:
      return !player.before.empty();
    case BeforeRole: {
      if (player.before.empty()) return QImage();
      const Decoded* picture = Picture(index.row(), true);
      return picture ? picture->image : QImage();
    }
    default:
      return {};
  }
}

const ThumbnailModel::Decoded* ThumbnailModel::Picture(int row, bool before) const {
  const GalleryPlayer& player = Player(row);
  const qint64 key = Key(player.playerId, before);
  if (const Decoded* decoded = cache_.object(key)) return decoded;
  Ask(key, player, before);
  return nullptr;
}

void ThumbnailModel::Ask(qint64 key, const GalleryPlayer& player, bool before) const {
  if (requested_.contains(key)) return;
  requested_.insert(key);
  {
    const std::lock_guard lock(queueMutex_);
    queue_.push_back(Request{key, generation_, gallery_.picturesFolder,
                             before ? player.before : std::filesystem::path(), player});
    while (queue_.size() > kMostWaiting) {
      requested_.remove(queue_.front().key);
      queue_.pop_front();
    }
  }
  auto* self = const_cast<ThumbnailModel*>(this);
  pool_.start([self] { self->DecodeNext(); });
}

void ThumbnailModel::DecodeNext() {
  Request request;
  {
    const std::lock_guard lock(queueMutex_);
    if (queue_.empty()) return;
    request = std::move(queue_.back());
    queue_.pop_back();
  }
  std::filesystem::path file = request.file;
  bool own = false;
  if (file.empty()) {
    const GalleryPicture current = CurrentGalleryPicture(request.folder, request.player);
    file = current.file;
    own = current.own;
  }
  QImage image(QString::fromStdString(file.string()));
  if (!image.isNull()) image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QMetaObject::invokeMethod(
      this,
      [this, key = request.key, generation = request.generation, image, own] {
        Arrived(key, generation, image, own);
      },
      Qt::QueuedConnection);
}

void ThumbnailModel::Arrived(qint64 key, quint64 generation, const QImage& image, bool own) {
  // Read before the pictures were changed: the view asks again.
  if (generation != generation_) return;
  requested_.remove(key);
  const auto cost = std::max<qint64>(1, image.sizeInBytes());
  cache_.insert(key, new Decoded{image, own}, cost);
  const int row = RowOf(static_cast<int>(key / 2));
  if (row >= 0) emit dataChanged(index(row), index(row));
  if (requested_.isEmpty()) emit AllDecoded();
}

}  // namespace likentor
