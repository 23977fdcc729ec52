# Reads the dynamic symbol table of libkorlith3d.so and fails when it exports
# engine internals (anything whose own name is in a kl:: or platform::
# namespace) or misses the public classes and the component entry points
# (the extern "C" class factory and self-registration functions).
#   cmake -DLIBRARY=<path> -DNM=<nm> -P CheckExports.cmake
execute_process(COMMAND ${NM} -DC --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}: ${errors}")
endif()

string(REPLACE "\n" ";" lines "${symbols}")
set(internal)
foreach(line IN LISTS lines)
  # "<address> <kind> <name>"; the name's own scope, not its parameter types, counts.
  if(line MATCHES "^[0-9a-fA-F]* [A-Za-z] (.*)$")
    set(name "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "^(typeinfo name for |typeinfo for |vtable for |VTT for |construction vtable for .* in |guard variable for |non-virtual thunk to |virtual thunk to )" "" name "${name}")
    if(name MATCHES "^(kl|platform)::")
      list(APPEND internal "${name}")
    endif()
  endif()
endforeach()
if(internal)
  list(LENGTH internal count)
  list(JOIN internal "\n  " shown)
  message(FATAL_ERROR "${LIBRARY} exports ${count} internal symbols:\n  ${shown}")
endif()

foreach(required IN ITEMS
    "KLEngine::KLEngine()"
    "KLMesh::KLMesh()"
    "KLCollisionResult::Mesh() const"
    "KLError::~KLError()"
    "typeinfo for KLError"
    "KLTextureFactory::LoadTexture("
    "KLParticleSystem::UpdateParticles(int)"
    "KLAtmosphere::RenderSkyBox()"
    "KLLandscape::AddTextureLayer("
    "KLLandscape::GenerateTexture("
    "DllGetClassObject"
    "DllRegisterServer"
    "DllUnregisterServer")
  string(FIND "${symbols}" "${required}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${LIBRARY} does not export ${required}")
  endif()
endforeach()
message(STATUS "${LIBRARY}: no internal symbols exported")
