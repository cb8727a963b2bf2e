// SPDX-License-Identifier: Apache-2.0
// quorbitz-dolphin-overlays.so, the plugin Dolphin finds in kf6/overlayicon
// (kf5/ before Plasma 6). Dolphin takes such a library's root object itself
// as the overlay plugin, while the menu must come from a factory in
// kf6/kfileitemaction; this object therefore takes the badges from the
// factory of quorbitz-dolphin.so, where the controller lives, and passes
// questions and changes through.
#include <KOverlayIconPlugin>
#include <KPluginFactory>
#include <KPluginMetaData>

namespace quorbitz {
namespace {

class OverlayForwarder final : public KOverlayIconPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "com.quorbitz.dolphin.KOverlayIconPlugin" FILE
                    "quorbitz-dolphin-overlays.json")

 public:
  explicit OverlayForwarder(QObject* parent = nullptr) : KOverlayIconPlugin(parent) {
    try {
      const KPluginMetaData host = KPluginMetaData::findPluginById(
          QStringLiteral(QUORBITZ_KF_PLUGIN_FOLDER "/kfileitemaction"), QStringLiteral("quorbitz-dolphin"));
      if (!host.isValid()) return;
      // The factory alone: the one-step instantiatePlugin would leave a
      // symbol of its own exported from this library.
      KPluginFactory* factory = KPluginFactory::loadFactory(host).plugin;
      if (factory) badges_ = factory->create<KOverlayIconPlugin>(this);
      if (badges_) {
        connect(badges_, &KOverlayIconPlugin::overlaysChanged, this,
                &KOverlayIconPlugin::overlaysChanged);
      }
    } catch (...) {
      // Without its library the plugin shows no badges; Dolphin goes on.
      badges_ = nullptr;
    }
  }

  QStringList getOverlays(const QUrl& item) override {
    return badges_ ? badges_->getOverlays(item) : QStringList();
  }

 private:
  KOverlayIconPlugin* badges_ = nullptr;  // a child of this object
};

}  // namespace
}  // namespace quorbitz

#include "overlay_forwarder.moc"
