#include "gpu/GpuResources.h"

#include "gpu/GlState.h"
#include "gpu/RenderMath.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstddef>

namespace kl::gpu {

namespace {

constexpr int MaxTextEntries = 512;   // distinct strings kept; a full cache starts over

} // namespace

std::vector<std::uint32_t> safeIndices(const MeshGeometry& mesh)
{
    std::vector<std::uint32_t> indices = mesh.indices;
    indices.resize(indices.size() - indices.size() % 3);
    const auto count = std::uint32_t(mesh.vertices.size());
    for (std::size_t t = 0; t < indices.size(); t += 3) {
        if (indices[t] >= count || indices[t + 1] >= count || indices[t + 2] >= count)
            indices[t] = indices[t + 1] = indices[t + 2] = 0;
    }
    return indices;
}

std::vector<MeshGroup> safeGroups(const MeshGeometry& mesh, std::uint32_t indexCount)
{
    std::vector<MeshGroup> groups;
    if (mesh.groups.empty()) {
        groups.push_back({0, indexCount});
        return groups;
    }
    for (const MeshGroup& g : mesh.groups) {
        const std::uint32_t first = std::min(g.firstIndex, indexCount);
        const std::uint32_t count = std::min(g.indexCount, indexCount - first);
        groups.push_back({first, count - count % 3});
    }
    return groups;
}

GLuint GpuResources::upload(const QImage& source, bool mipmapped)
{
    GLint maxSize = 0;
    gl_->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    const QImage image = textureUploadImage(source, std::min(maxSize, 8192));
    GLuint name = 0;
    gl_->glGenTextures(1, &name);
    gl_->glBindTexture(GL_TEXTURE_2D, name);
    gl_->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl_->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width(), image.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                      image.constBits());
    if (mipmapped) {
        gl_->glGenerateMipmap(GL_TEXTURE_2D);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    } else {
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

GLuint GpuResources::texture(const TextureData& data)
{
    auto makeImage = [&] { return data.isBumpMap ? bumpGradientImage(data.image) : data.image; };
    if (data.id == 0) {
        frameTextures_.push_back(upload(makeImage(), true));
        return frameTextures_.back();
    }
    auto it = textures_.find(data.id);
    if (it != textures_.end() && it->second.revision == data.revision)
        return it->second.name;
    if (it != textures_.end())
        gl_->glDeleteTextures(1, &it->second.name);
    GpuTexture& t = textures_[data.id];
    t.name = upload(makeImage(), true);
    t.revision = data.revision;
    return t.name;
}

GpuMesh GpuResources::upload(const MeshGeometry& data)
{
    GpuMesh m;
    const std::vector<std::uint32_t> indices = safeIndices(data);
    m.indexCount = std::uint32_t(indices.size());
    m.groups = safeGroups(data, m.indexCount);
    m.revision = data.revision;
    gl_->glGenVertexArrays(1, &m.vao);
    m.vbo = createBuffer(*gl_);
    m.ibo = createBuffer(*gl_);
    gl_->glBindVertexArray(m.vao);
    gl_->glBindBuffer(GL_ARRAY_BUFFER, m.vbo);
    gl_->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(data.vertices.size() * sizeof(Vertex)), data.vertices.data(),
                      GL_STATIC_DRAW);
    gl_->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m.ibo);
    gl_->glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(std::uint32_t)), indices.data(),
                      GL_STATIC_DRAW);
    setVertexLayout(*gl_);
    gl_->glBindVertexArray(0);
    return m;
}

const GpuMesh* GpuResources::mesh(const MeshGeometry& data)
{
    if (data.vertices.empty() || data.indices.size() < 3)
        return nullptr;
    if (data.id == 0) {
        frameMeshes_.push_back(upload(data));
        return &frameMeshes_.back();
    }
    auto it = meshes_.find(data.id);
    if (it != meshes_.end() && it->second.revision == data.revision)
        return &it->second;
    if (it != meshes_.end())
        remove(it->second);
    GpuMesh& m = meshes_[data.id];
    m = upload(data);
    return &m;
}

const GpuTexture* GpuResources::text(const QFont& font, const QString& text)
{
    const QString key = font.key() + QChar(0x1F) + text;
    if (auto it = text_.constFind(key); it != text_.constEnd())
        return &it.value();
    if (text_.size() >= MaxTextEntries) {
        for (const GpuTexture& t : std::as_const(text_))
            gl_->glDeleteTextures(1, &t.name);
        text_.clear();
    }
    const QFontMetrics metrics(font);
    const QSize size(std::max(1, metrics.horizontalAdvance(text) + 2), std::max(1, metrics.height()));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(0, metrics.ascent()), text);
    }
    GpuTexture t;
    t.name = upload(image.convertToFormat(QImage::Format_ARGB32), false);
    t.size = size;
    return &*text_.insert(key, t);
}

void GpuResources::remove(GpuMesh& m)
{
    gl_->glDeleteVertexArrays(1, &m.vao);
    gl_->glDeleteBuffers(1, &m.vbo);
    gl_->glDeleteBuffers(1, &m.ibo);
}

void GpuResources::release(ResourceId id)
{
    if (auto it = textures_.find(id); it != textures_.end()) {
        gl_->glDeleteTextures(1, &it->second.name);
        textures_.erase(it);
    }
    if (auto it = meshes_.find(id); it != meshes_.end()) {
        remove(it->second);
        meshes_.erase(it);
    }
}

void GpuResources::endFrame()
{
    if (!gl_)
        return;
    if (!frameTextures_.empty())
        gl_->glDeleteTextures(GLsizei(frameTextures_.size()), frameTextures_.data());
    for (GpuMesh& m : frameMeshes_)
        remove(m);
    frameTextures_.clear();
    frameMeshes_.clear();
}

void GpuResources::freeAll()
{
    if (gl_) {
        endFrame();
        for (auto& [id, t] : textures_)
            gl_->glDeleteTextures(1, &t.name);
        for (auto& [id, m] : meshes_)
            remove(m);
        for (const GpuTexture& t : std::as_const(text_))
            gl_->glDeleteTextures(1, &t.name);
    }
    forget();
}

void GpuResources::forget()
{
    textures_.clear();
    meshes_.clear();
    frameTextures_.clear();
    frameMeshes_.clear();
    text_.clear();
    gl_ = nullptr;
}

} // namespace kl::gpu
