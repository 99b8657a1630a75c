#include "controls/property_bag.h"

#include <QDataStream>
#include <QIODevice>

namespace cn {

namespace {
// Marks the format, so that bytes from elsewhere are refused instead of misread.
constexpr quint32 kMagic = 0x436E5042;  // "CnPB"
}  // namespace

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const {
  const auto it = values_.constFind(name);
  return it == values_.constEnd() ? defaultValue : *it;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue) {
  if (!value.isValid() || (defaultValue.isValid() && value == defaultValue)) {
    values_.remove(name);
  } else {
    values_.insert(name, value);
  }
}

QByteArray PropertyBag::Save() const {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  out << kMagic << values_;
  return bytes;
}

std::optional<PropertyBag> PropertyBag::Load(const QByteArray& bytes) {
  QDataStream in(bytes);
  in.setVersion(QDataStream::Qt_6_0);
  quint32 magic = 0;
  PropertyBag bag;
  in >> magic;
  if (in.status() != QDataStream::Ok || magic != kMagic) return std::nullopt;
  in >> bag.values_;
  if (in.status() != QDataStream::Ok || !in.atEnd()) return std::nullopt;
  return bag;
}

}  // namespace cn
