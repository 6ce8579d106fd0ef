// A small least-recently-used table of sphere display lists.
#include "render/SphereCache.h"

#include <cstddef>
#include <vector>

namespace {

struct CachedSphere {
    GLUquadric* quadric;
    double radius;
    int slices;
    int stacks;
    GLuint list;
    unsigned long lastUse;
};

std::vector<CachedSphere> cache;
unsigned long drawCount = 0;
bool caching = true;

void evictLeastRecent() {
    std::size_t oldest = 0;
    for (std::size_t i = 1; i < cache.size(); ++i)
        if (cache[i].lastUse < cache[oldest].lastUse) oldest = i;
    glDeleteLists(cache[oldest].list, 1);
    cache[oldest] = cache.back();
    cache.pop_back();
}

} // namespace

void drawSphere(GLUquadric* quadric, double radius, int slices, int stacks) {
    if (!caching) {
        gluSphere(quadric, radius, slices, stacks);
        return;
    }
    ++drawCount;
    // A linear search: the table is small and a frame draws 21 spheres.
    for (CachedSphere& s : cache) {
        if (s.quadric == quadric && s.radius == radius && s.slices == slices && s.stacks == stacks) {
            s.lastUse = drawCount;
            glCallList(s.list);
            return;
        }
    }
    if (static_cast<int>(cache.size()) >= SphereCacheCapacity) evictLeastRecent();
    GLuint list = glGenLists(1);
    if (list == 0) { // no list to be had: draw it the slow way
        gluSphere(quadric, radius, slices, stacks);
        return;
    }
    glNewList(list, GL_COMPILE);
    gluSphere(quadric, radius, slices, stacks);
    glEndList();
    cache.push_back({quadric, radius, slices, stacks, list, drawCount});
    glCallList(list);
}

void setSphereCaching(bool on) {
    for (const CachedSphere& s : cache)
        glDeleteLists(s.list, 1);
    cache.clear();
    caching = on;
}

int cachedSphereCount() { return static_cast<int>(cache.size()); }
