#include "gpu/Renderer.h"

namespace kl::gpu {

struct Renderer::Impl {
    QString error;
};

Renderer::Renderer() : impl_(std::make_unique<Impl>()) {}
Renderer::~Renderer() = default;

bool Renderer::attach(WId pictureBox, QString& error)
{
    return attach(QWidget::find(pictureBox), error);
}

bool Renderer::attach(QWidget* pictureBox, QString& error)
{
    if (!pictureBox) {
        error = QStringLiteral("No window for the given handle");
        return false;
    }
    error = QStringLiteral("OpenGL view not available yet");
    return false;
}

void Renderer::detach() {}
bool Renderer::isAttached() const { return false; }
QSize Renderer::viewportSize() const { return {}; }
bool Renderer::beginFrame(const glm::vec4&, bool) { return false; }
void Renderer::drawBackground(const TextureData&) {}
void Renderer::drawItems(const FrameState&, std::span<const DrawItem>) {}
void Renderer::drawQuad2D(const Quad2D&) {}
void Renderer::drawText(const QFont&, const QString&, int, int, std::uint32_t) {}
bool Renderer::present() { return false; }
double Renderer::lastFrameMilliseconds() const { return 0.0; }
QImage Renderer::grabFrame() { return {}; }
bool Renderer::saveScreenshot(const QString&, QString& error)
{
    error = QStringLiteral("No frame to save");
    return false;
}
QString Renderer::glVersion() const { return {}; }
QString Renderer::glRenderer() const { return {}; }
QString Renderer::lastError() const { return impl_->error; }
void Renderer::release(ResourceId) {}

} // namespace kl::gpu
