#pragma once
// The direct OpenGL side of the frame benchmarks: the same draws as the renderer makes, without it, so
// the renderer's figures can be set against what the driver itself takes.
#include "Engine/Platform/Gl/plGlContextUse.h"
#include "benchTiles.h"

#define GL_GLEXT_PROTOTYPES 1
#include <SDL.h>
#include <SDL_opengl.h>

#include <vector>

// Copies of the tile in buffer objects, interleaved position, normal, uv (32 bytes a vertex); copy i's
// vertices are buffer 2i and its indices buffer 2i+1.
class DirectTileBuffers {
  public:
    explicit DirectTileBuffers(u32 count) {
        const Tile tile;
        std::vector<f32> vertices;
        for (size_t v = 0; v < tile.positions.size(); ++v)
            vertices.insert(vertices.end(),
                            {tile.positions[v].x, tile.positions[v].y, tile.positions[v].z, tile.normals[v].x,
                             tile.normals[v].y, tile.normals[v].z, tile.uvs[v].x, tile.uvs[v].y});
        m_buffers.resize(count * 2);
        glGenBuffers(static_cast<GLsizei>(m_buffers.size()), m_buffers.data());
        for (u32 i = 0; i < count; ++i) {
            glBindBuffer(GL_ARRAY_BUFFER, m_buffers[i * 2]);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * 4), vertices.data(),
                         GL_STATIC_DRAW);
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_buffers[i * 2 + 1]);
            glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(tile.indices.size() * 2),
                         tile.indices.data(), GL_STATIC_DRAW);
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    ~DirectTileBuffers() { glDeleteBuffers(static_cast<GLsizei>(m_buffers.size()), m_buffers.data()); }
    DirectTileBuffers(const DirectTileBuffers&) = delete;
    DirectTileBuffers& operator=(const DirectTileBuffers&) = delete;

    // Binds copy i's buffers with the interleaved pointers and draws its 40 triangles.
    void Draw(u32 i) const {
        glBindBuffer(GL_ARRAY_BUFFER, m_buffers[i * 2]);
        glVertexPointer(3, GL_FLOAT, 32, nullptr);
        glNormalPointer(GL_FLOAT, 32, reinterpret_cast<const void*>(12));
        glTexCoordPointer(2, GL_FLOAT, 32, reinterpret_cast<const void*>(24));
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_buffers[i * 2 + 1]);
        glDrawRangeElements(GL_TRIANGLES, 0, 29, 120, GL_UNSIGNED_SHORT, nullptr);
    }

  private:
    std::vector<GLuint> m_buffers;
};

// A 64x64 mip texture of one colour at every level, filtered as the renderer's default states filter.
inline GLuint MakeDirectTexture(u32 texel) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const std::vector<u32> texels(64 * 64, texel);
    for (GLint level = 0, size = 64; size > 0; ++level, size /= 2)
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGB8, size, size, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

// An off-screen colour target with depth the size of the window, as the device draws into; the frame
// is blitted to the window and presented at the end.
class DirectTarget {
  public:
    DirectTarget(i32 width, i32 height) : m_width(width), m_height(height) {
        glGenTextures(1, &m_color);
        glBindTexture(GL_TEXTURE_2D, m_color);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        glGenRenderbuffers(1, &m_depth);
        glBindRenderbuffer(GL_RENDERBUFFER, m_depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glGenFramebuffers(1, &m_framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_color, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depth);
    }
    ~DirectTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &m_framebuffer);
        glDeleteRenderbuffers(1, &m_depth);
        glDeleteTextures(1, &m_color);
    }
    DirectTarget(const DirectTarget&) = delete;
    DirectTarget& operator=(const DirectTarget&) = delete;

    // Draws into the target from here on; the device shares the context, so it sends its state again.
    void Bind() const {
        plGlCountForeignUse();
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        glViewport(0, 0, m_width, m_height);
    }

    // Clears colour and depth and sets the states every direct frame shares: depth test, culling of the
    // tiles' back faces, a pixel projection, one texture stage and the interleaved arrays.
    void Begin() const {
        Bind();
        glClearColor(0.125f, 0.1875f, 0.25f, 1.0f);
        glClearDepth(1.0);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        // The tiles run counter-clockwise on the y-down screen, so clockwise under this y-up projection.
        glCullFace(GL_FRONT);
        glMatrixMode(GL_PROJECTION);
        const maMatrix4d projection(2.0f / static_cast<f32>(m_width), 0, 0, 0, 0,
                                    2.0f / static_cast<f32>(m_height), 0, 0, 0, 0, 2, 0, -1, -1, -1, 1);
        glLoadMatrixf(projection.m);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glActiveTexture(GL_TEXTURE0);
        glEnable(GL_TEXTURE_2D);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }

    void Present() const {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, m_width, m_height, 0, m_height, m_width, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        SDL_GL_SwapWindow(SDL_GL_GetCurrentWindow());
        glFinish();
    }

  private:
    i32 m_width, m_height;
    GLuint m_color = 0, m_depth = 0, m_framebuffer = 0;
};
