#include "gpu/Shaders.h"

#include <QByteArray>

#include <algorithm>

namespace kl::gpu::shaders {

const char* const meshVertex = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aUv;
layout(location = 3) in vec2 aUv2;
layout(location = 4) in vec4 aColour;
layout(location = 5) in vec2 aDetailUv;

uniform mat4 uWorld;
uniform mat3 uNormalMatrix;
uniform mat4 uViewProjection;

out vec3 vWorldPos;
out vec3 vNormal;
out vec2 vUv;
out vec2 vUv2;
out vec4 vColour;
out vec2 vDetailUv;

void main()
{
    vec4 world = uWorld * vec4(aPosition, 1.0);
    vWorldPos = world.xyz;
    vNormal = uNormalMatrix * aNormal;
    vUv = aUv;
    vUv2 = aUv2;
    vColour = aColour;
    vDetailUv = aDetailUv;
    gl_Position = uViewProjection * world;
}
)";

const char* const meshFragment = R"(
const int MAX_LIGHTS = 8;
const int POINT = 1;
const int SPOT = 2;
const int DIRECTIONAL = 3;

in vec3 vWorldPos;
in vec3 vNormal;
in vec2 vUv;
in vec2 vUv2;
in vec4 vColour;
in vec2 vDetailUv;

uniform mat4 uView;
uniform vec3 uEye;
uniform vec4 uSceneAmbient;

uniform vec4 uLightDiffuse[MAX_LIGHTS];
uniform vec4 uLightSpecular[MAX_LIGHTS];
uniform vec4 uLightAmbient[MAX_LIGHTS];
uniform vec3 uLightPosition[MAX_LIGHTS];
uniform vec3 uLightDirection[MAX_LIGHTS];   // normalised
uniform vec3 uLightAttenuation[MAX_LIGHTS]; // a0, a1, a2 (never all zero)
uniform vec4 uLightSpot[MAX_LIGHTS];        // range, cos(theta/2), cos(phi/2), falloff

uniform vec4 uMatAmbient;
uniform vec4 uMatDiffuse;
uniform vec4 uMatSpecular;
uniform vec4 uMatEmissive;
uniform float uMatPower;

uniform int uBumpLight;
uniform float uBumpStrength;
uniform float uDetailScale;
uniform bool uDetailOwnUv;

uniform sampler2D uBase;
uniform sampler2D uBump;
uniform sampler2D uDetail;
uniform sampler2D uLightmap;

out vec4 fragColour;

// Normal bent by the bump texture's height gradient (stored in red/green),
// using a tangent frame derived from screen-space derivatives.
vec3 bumpedNormal(vec3 n)
{
    vec3 dp1 = dFdx(vWorldPos);
    vec3 dp2 = dFdy(vWorldPos);
    vec2 duv1 = dFdx(vUv);
    vec2 duv2 = dFdy(vUv);
    vec3 dp2perp = cross(dp2, n);
    vec3 dp1perp = cross(n, dp1);
    vec3 t = dp2perp * duv1.x + dp1perp * duv2.x;
    vec3 b = dp2perp * duv1.y + dp1perp * duv2.y;
    float m = max(dot(t, t), dot(b, b));
    if (m < 1e-20)
        return n;
    float inv = inversesqrt(m);
    vec2 g = (texture(uBump, vUv).rg * 2.0 - 1.0) * uBumpStrength;
    return normalize(n - (g.x * t + g.y * b) * inv);
}

// Adds light i (of the given type) to the ambient, diffuse and specular sums.
// Called with constant arguments, so each call keeps only its type's code.
void addLight(const int i, const int type, vec3 nl, vec3 toEye, inout vec3 ambient, inout vec3 diffuse,
              inout vec3 specular)
{
    vec3 l;
    float atten = 1.0;
    float spot = 1.0;
    if (type == DIRECTIONAL) {
        l = -uLightDirection[i];
    } else {
        vec3 d = uLightPosition[i] - vWorldPos;
        float dist = length(d);
        if (dist > uLightSpot[i].x)
            return;
        l = dist > 0.0 ? d / dist : vec3(0.0);
        vec3 a = uLightAttenuation[i];
        atten = 1.0 / max(a.x + a.y * dist + a.z * dist * dist, 1e-6);
        if (type == SPOT) {
            float rho = dot(uLightDirection[i], -l);
            float cosTheta = uLightSpot[i].y;
            float cosPhi = uLightSpot[i].z;
            if (rho > cosTheta)
                spot = 1.0;
            else if (rho <= cosPhi)
                spot = 0.0;
            else if (uLightSpot[i].w == 0.0)
                spot = 1.0;
            else
                spot = pow((rho - cosPhi) / (cosTheta - cosPhi), uLightSpot[i].w);
        }
    }
    float k = atten * spot;
    ambient += k * uLightAmbient[i].rgb;
    float ndotl = dot(nl, l);
    if (ndotl > 0.0) {
        diffuse += k * ndotl * uLightDiffuse[i].rgb;
        if (uSpecular && uMatPower > 0.0) {
            vec3 h = normalize(l + toEye);
            float ndoth = max(dot(nl, h), 0.0);
            specular += k * pow(ndoth, uMatPower) * uLightSpecular[i].rgb;
        }
    }
}

void main()
{
    vec4 matDiffuse = uUseVertexColour ? vColour : uMatDiffuse;
    vec3 n = normalize(vNormal);
    vec3 toEye = normalize(uEye - vWorldPos);

    vec4 colour;
    vec3 specular = vec3(0.0);
    if (uLit) {
        vec3 bumped = uHasBump ? bumpedNormal(n) : n;
        vec3 ambient = uSceneAmbient.rgb;
        vec3 diffuse = vec3(0.0);
        ADD_LIGHTS
        colour.rgb = uMatEmissive.rgb + ambient * uMatAmbient.rgb + diffuse * matDiffuse.rgb;
        colour.a = matDiffuse.a;
        colour = clamp(colour, 0.0, 1.0);
        specular = clamp(specular * uMatSpecular.rgb, 0.0, 1.0);
    } else {
        colour = matDiffuse;
    }

    if (uHasBase) {
        vec2 uv = vUv;
        if (uSphereMap) {
            // Reflection of the view vector in view space (left-handed: the
            // camera looks along +z), mapped onto the sphere-map disc.
            vec3 nv = normalize(mat3(uView) * n);
            vec3 ev = normalize((uView * vec4(vWorldPos, 1.0)).xyz);
            vec3 r = reflect(ev, nv);
            float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z - 1.0) * (r.z - 1.0));
            uv = vec2(r.x / m + 0.5, -r.y / m + 0.5);
        }
        // A sprite's level is known from its distance: read there, without
        // the per-pixel level choice.
        colour *= uSpriteLevel ? textureLod(uBase, uv, vUv2.x) : texture(uBase, uv);
    }
    if (uHasDetail)
        colour.rgb = clamp(colour.rgb * texture(uDetail, uDetailOwnUv ? vDetailUv : vUv * uDetailScale).rgb * 2.0, 0.0, 1.0);
    if (uHasLightmap)
        colour.rgb *= texture(uLightmap, vUv2).rgb;

    fragColour = vec4(clamp(colour.rgb + specular, 0.0, 1.0), colour.a);
}
)";

QByteArray meshFragmentSource(unsigned features, std::span<const int> lightTypes)
{
    // Stage switches are compile-time constants: software GL runs both sides of
    // a branch on a uniform, so each combination gets its own program.
    QByteArray source("#version 330 core\n");
    auto flag = [&](const char* name, unsigned bit) {
        source += QByteArray("const bool ") + name + " = " + ((features & bit) ? "true" : "false") + ";\n";
    };
    flag("uLit", Lit);
    flag("uHasBase", BaseTexture);
    flag("uSphereMap", SphereMap);
    flag("uHasBump", BumpMap);
    flag("uHasDetail", DetailTexture);
    flag("uHasLightmap", Lightmap);
    flag("uSpecular", Specular);
    flag("uUseVertexColour", VertexColour);
    flag("uSpriteLevel", SpriteLevel);
    // The lights' number and types are constants too: one call per light, each
    // keeping only the code of its type.
    const int count = int(std::min<std::size_t>(lightTypes.size(), 8));
    source += "#define ADD_LIGHTS";
    for (int i = 0; i < count; ++i) {
        const QByteArray index = QByteArray::number(i);
        source += " addLight(" + index + ", " + QByteArray::number(lightTypes[std::size_t(i)]) + ", (uHasBump && uBumpLight == " +
                  index + ") ? bumped : n, toEye, ambient, diffuse, specular);";
    }
    source += "\n";
    return source + meshFragment;
}

const char* const quadVertex = R"(#version 330 core
layout(location = 0) in vec2 aPosition;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec4 aColour;

uniform vec2 uViewSize;

out vec2 vUv;
out vec4 vColour;

void main()
{
    vUv = aUv;
    vColour = aColour;
    vec2 ndc = vec2(aPosition.x / uViewSize.x * 2.0 - 1.0, 1.0 - aPosition.y / uViewSize.y * 2.0);
    gl_Position = vec4(ndc, 0.0, 1.0);
}
)";

const char* const quadFragment = R"(#version 330 core
in vec2 vUv;
in vec4 vColour;

uniform bool uHasTexture;
uniform sampler2D uTexture;

out vec4 fragColour;

void main()
{
    vec4 c = vColour;
    if (uHasTexture)
        c *= texture(uTexture, vUv);
    fragColour = c;
}
)";

} // namespace kl::gpu::shaders
