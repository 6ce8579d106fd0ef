// Compiles the model tables into display lists, with every material change inside the list.
#include "ships/MeshLists.h"

#include <algorithm>
#include <cmath>

namespace {

GLuint shipList = 0; // 0 until built
GLuint rewardList = 0;

// The ship model lies along its y axis with z up; the game flies along -Z with Y up. Normals turn with
// the positions, or the lights would shine on the ship as if it were standing on its tail.
MeshPoint shipPosition(MeshPoint p) { return {float(100.0 * p.x), float(100.0 * p.z), float(-100.0 * p.y)}; }
MeshPoint shipNormal(MeshPoint n) { return {n.x, n.z, -n.y}; }

MeshPoint rewardPosition(MeshPoint p) { return {float(100.0 * p.x), float(100.0 * p.y), float(100.0 * p.z)}; }
MeshPoint rewardNormal(MeshPoint n) { return n; }

struct ListStyle {
    MeshPoint (*position)(MeshPoint);
    MeshPoint (*normal)(MeshPoint);
    bool setsDiffuse; // the ship leaves diffuse to the caller's player colour
};

void setMaterialColour(GLenum which, const float rgb[3], float alpha) {
    const GLfloat colour[4] = {rgb[0], rgb[1], rgb[2], alpha};
    glMaterialfv(GL_FRONT_AND_BACK, which, colour);
}

// Each run is a batch of triangles of its own; the first call closes the empty batch the list opens with.
void applyMaterial(const MeshMaterial& m, const ListStyle& style) {
    glEnd();
    setMaterialColour(GL_AMBIENT, m.ambient, m.alpha);
    if (style.setsDiffuse) setMaterialColour(GL_DIFFUSE, m.diffuse, m.alpha);
    setMaterialColour(GL_SPECULAR, m.specular, m.alpha);
    setMaterialColour(GL_EMISSION, m.emission, m.alpha);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
    glBegin(GL_TRIANGLES);
}

// What every other object drawn after a model finds, whichever material the model ended on.
void leaveMaterialNeutral(const ListStyle& style) {
    const GLfloat zero[4] = {0, 0, 0, 0};
    const GLfloat one[4] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, zero);
    if (style.setsDiffuse) glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, one);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, one);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, zero);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 1.0f);
}

ListStyle styleOf(ModelKind kind) {
    return kind == ModelKind::Ship ? ListStyle{shipPosition, shipNormal, false}
                                   : ListStyle{rewardPosition, rewardNormal, true};
}

} // namespace

GLuint compileModelList(const MeshModel& model, ModelKind kind) {
    const ListStyle style = styleOf(kind);
    const GLuint name = glGenLists(1);
    glNewList(name, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    int run = 0;
    int remaining = 0;
    for (int f = 0; f < model.faceCount; ++f) {
        // An empty run is stepped over rather than turned into a count that never reaches 0 again, and
        // faces past the last run keep its material instead of reading beyond the table.
        while (remaining == 0 && run < model.runCount) {
            applyMaterial(model.materials[model.runs[run].material], style);
            remaining = model.runs[run].faceCount;
            ++run;
        }
        --remaining;
        const MeshFace& face = model.faces[f];
        for (int k = 0; k < 3; ++k) {
            const MeshPoint n = style.normal(model.normals[face.normal[k]]);
            const MeshTexCoord& t = model.texCoords[face.texCoord[k]];
            const MeshPoint p = style.position(model.positions[face.position[k]]);
            glNormal3f(n.x, n.y, n.z);
            glTexCoord2f(t.u, t.v);
            glVertex3f(p.x, p.y, p.z);
        }
    }
    glEnd();
    leaveModelState(model, kind);
    glEndList();
    return name;
}

void leaveModelState(const MeshModel& model, ModelKind kind) {
    const ListStyle style = styleOf(kind);
    if (model.faceCount > 0) { // in the list, the last vertex has set these already
        const MeshFace& last = model.faces[model.faceCount - 1];
        const MeshPoint n = style.normal(model.normals[last.normal[2]]);
        const MeshTexCoord& t = model.texCoords[last.texCoord[2]];
        glNormal3f(n.x, n.y, n.z);
        glTexCoord2f(t.u, t.v);
    }
    leaveMaterialNeutral(style);
}

float modelRadius(const MeshModel& model, ModelKind kind) {
    const ListStyle style = styleOf(kind);
    float furthest = 0;
    for (int i = 0; i < model.positionCount; ++i) {
        const MeshPoint p = style.position(model.positions[i]);
        furthest = std::max(furthest, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
    }
    return furthest;
}

GLuint shipMeshList() {
    if (shipList == 0) shipList = compileModelList(shipModel, ModelKind::Ship);
    return shipList;
}

GLuint rewardMeshList() {
    if (rewardList == 0) rewardList = compileModelList(rewardModel, ModelKind::Reward);
    return rewardList;
}

float shipMeshRadius() {
    static const float radius = modelRadius(shipModel, ModelKind::Ship);
    return radius;
}

float rewardMeshRadius() {
    static const float radius = modelRadius(rewardModel, ModelKind::Reward);
    return radius;
}
