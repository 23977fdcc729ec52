#include "PixelTestSupport.h"

#include <QApplication>
#include <QScreen>
#include <QTest>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace kl::gpu::test {

MeshGeometry makeSphere(ResourceId id, float radius, int slices, int stacks)
{
    MeshGeometry mesh;
    mesh.id = id;
    for (int j = 0; j <= stacks; ++j) {
        const float v = float(j) / float(stacks);
        const float polar = v * glm::pi<float>();
        for (int i = 0; i <= slices; ++i) {
            const float u = float(i) / float(slices);
            const float azimuth = u * glm::two_pi<float>();
            const glm::vec3 n(std::sin(polar) * std::sin(azimuth), std::cos(polar),
                              -std::sin(polar) * std::cos(azimuth));
            Vertex vertex;
            vertex.position = n * radius;
            vertex.normal = n;
            vertex.uv = vertex.uv2 = glm::vec2(u, v);
            mesh.vertices.push_back(vertex);
        }
    }
    const auto row = std::uint32_t(slices + 1);
    for (std::uint32_t j = 0; j < std::uint32_t(stacks); ++j) {
        for (std::uint32_t i = 0; i < std::uint32_t(slices); ++i) {
            const std::uint32_t a = j * row + i, b = a + 1, c = a + row, d = c + 1;
            mesh.indices.insert(mesh.indices.end(), {a, b, c, b, d, c});
        }
    }
    return mesh;
}

MeshGeometry makeQuad(ResourceId id, float halfSize)
{
    MeshGeometry mesh;
    mesh.id = id;
    const glm::vec3 corners[4] = {{-halfSize, halfSize, 0}, {halfSize, halfSize, 0},
                                  {halfSize, -halfSize, 0}, {-halfSize, -halfSize, 0}};
    const glm::vec2 uvs[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        Vertex v;
        v.position = corners[i];
        v.normal = glm::vec3(0, 0, -1);
        v.uv = v.uv2 = uvs[i];
        mesh.vertices.push_back(v);
    }
    mesh.indices = {0, 1, 2, 0, 2, 3};
    return mesh;
}

FrameState frontCamera(float distance, QSize viewport)
{
    FrameState frame;
    frame.eyePosition = glm::vec3(0, 0, -distance);
    frame.view = glm::lookAtLH(frame.eyePosition, glm::vec3(0), glm::vec3(0, 1, 0));
    frame.projection = glm::perspectiveLH_NO(glm::radians(60.0f),
                                             float(viewport.width()) / float(viewport.height()), 0.1f, 1000.0f);
    return frame;
}

glm::vec4 referenceColour(const FrameState& frame, const MaterialColors& m, glm::vec3 p, glm::vec3 n)
{
    n = glm::normalize(n);
    glm::vec3 ambient(frame.ambient);
    glm::vec3 diffuse(0), specular(0);
    const glm::vec3 toEye = glm::normalize(frame.eyePosition - p);
    for (const LightState& light : frame.lights) {
        if (!light.enabled)
            continue;
        glm::vec3 l;
        float atten = 1, spot = 1;
        if (light.type == LightType::Directional) {
            l = -glm::normalize(light.direction);
        } else {
            const glm::vec3 d = light.position - p;
            const float dist = glm::length(d);
            if (dist > light.range)
                continue;
            l = d / dist;
            const float a = light.attenuation0 + light.attenuation1 * dist + light.attenuation2 * dist * dist;
            atten = a > 0 ? 1 / a : 1;
            if (light.type == LightType::Spot) {
                const float rho = glm::dot(glm::normalize(light.direction), -l);
                const float cosTheta = std::cos(light.theta / 2), cosPhi = std::cos(light.phi / 2);
                if (rho > cosTheta)
                    spot = 1;
                else if (rho <= cosPhi)
                    spot = 0;
                else
                    spot = std::pow((rho - cosPhi) / (cosTheta - cosPhi), light.falloff);
            }
        }
        ambient += atten * spot * glm::vec3(light.ambient);
        const float ndotl = glm::dot(n, l);
        if (ndotl > 0) {
            diffuse += atten * spot * ndotl * glm::vec3(light.diffuse);
            if (m.power > 0) {
                const glm::vec3 h = glm::normalize(l + toEye);
                specular += atten * spot * std::pow(std::max(glm::dot(n, h), 0.0f), m.power) *
                            glm::vec3(light.specular);
            }
        }
    }
    glm::vec3 c = glm::vec3(m.emissive) + ambient * glm::vec3(m.ambient) + diffuse * glm::vec3(m.diffuse);
    c = glm::clamp(c, 0.0f, 1.0f) + glm::clamp(specular * glm::vec3(m.specular), 0.0f, 1.0f);
    return glm::vec4(glm::clamp(c, 0.0f, 1.0f), m.diffuse.a);
}

RenderFixture::RenderFixture(QSize size) : box_(std::make_unique<QWidget>())
{
    box_->resize(size);
    box_->setObjectName(QStringLiteral("Picture1"));
    box_->show();
    const WId handle = box_->winId();
    QApplication::processEvents();
    attached_ = renderer_.attach(handle, error_);
    QApplication::processEvents();
}

RenderFixture::~RenderFixture()
{
    renderer_.detach();
}

QImage RenderFixture::render(const FrameState& frame, std::span<const DrawItem> items, glm::vec4 clear,
                             const TextureData* background)
{
    if (!renderer_.beginFrame(clear))
        return {};
    if (background)
        renderer_.drawBackground(*background);
    renderer_.drawItems(frame, items);
    renderer_.present();
    QApplication::processEvents();
    return renderer_.grabFrame();
}

bool spherePointUnderPixel(const FrameState& frame, QSize viewport, int x, int y, float radius,
                           glm::vec3& point)
{
    const glm::mat4 inverse = glm::inverse(frame.projection * frame.view);
    const float ndcX = (float(x) + 0.5f) / float(viewport.width()) * 2.0f - 1.0f;
    const float ndcY = 1.0f - (float(y) + 0.5f) / float(viewport.height()) * 2.0f;
    glm::vec4 nearPoint = inverse * glm::vec4(ndcX, ndcY, -1.0f, 1.0f);
    glm::vec4 farPoint = inverse * glm::vec4(ndcX, ndcY, 1.0f, 1.0f);
    const glm::vec3 origin = glm::vec3(nearPoint) / nearPoint.w;
    const glm::vec3 direction = glm::normalize(glm::vec3(farPoint) / farPoint.w - origin);
    const float b = glm::dot(origin, direction);
    const float c = glm::dot(origin, origin) - radius * radius;
    const float disc = b * b - c;
    if (disc < 0.0f)
        return false;
    point = origin + direction * (-b - std::sqrt(disc));
    return true;
}

glm::vec4 pixelColour(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return glm::vec4(qRed(p), qGreen(p), qBlue(p), qAlpha(p)) / 255.0f;
}

glm::vec4 centrePixel(const QImage& image)
{
    return pixelColour(image, image.width() / 2, image.height() / 2);
}

QImage grabShownPicture(QWidget& box, const std::function<bool(const QImage&)>& shows)
{
    QImage shown;
    const bool ok = QTest::qWaitFor([&] {
        shown = box.screen()->grabWindow(box.winId()).toImage();
        return !shown.isNull() && shows(shown);
    }, 3000);
    (void)ok; // the caller checks the picture and reports what it shows
    return shown;
}

} // namespace kl::gpu::test
