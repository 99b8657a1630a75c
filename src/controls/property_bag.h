// The property store of a form: the design-time settings of its controls,
// by name. A value equal to the default it is written with is not stored, so
// reading it back gives that default again.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace cn {

class PropertyBag {
 public:
  // The stored value, or `defaultValue` when the name is not stored.
  QVariant ReadProperty(const QString& name, const QVariant& defaultValue = QVariant()) const;
  // Stores `value` under `name`; with a valid `defaultValue` equal to `value`,
  // or with no value at all (an empty picture), the name is dropped instead.
  // Without a default any value is stored.
  void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = QVariant());

  QStringList Names() const { return values_.keys(); }

  // The store as bytes and back; damaged bytes give nothing.
  QByteArray Save() const;
  static std::optional<PropertyBag> Load(const QByteArray& bytes);

 private:
  QMap<QString, QVariant> values_;
};

}  // namespace cn
