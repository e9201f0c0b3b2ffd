# The folders of the program as layers, bottom to top. A folder may include
# the headers of the folders in the rows below its own, never those of its
# row or above: folders in one row know nothing of each other. The build
# gives each library only the folders it links (vek_expose below), and the
# test layers.IncludesGoDown (CheckLayers.cmake) holds every include of
# the sources against this table and refuses a folder of sources that is
# in no row.
set(VEK_LAYERS
  "res"
  "platform"
  "geometry"
  "model"
  "tables"
  "library grading"
  "settings"
  "app"
  "ui"
  "editors"
  "tools tables/tool library/tool grading/dialogs"
  "shell")

# Folders of sources that are not layers: they build no library of the
# program, may include any layer, and no layer includes them.
set(VEK_UNLAYERED_FOLDERS tests bench)

set(VEK_LAYER_FOLDERS "")
foreach(row ${VEK_LAYERS})
  string(REPLACE " " ";" folders "${row}")
  list(APPEND VEK_LAYER_FOLDERS ${folders})
endforeach()

# The folder a source-relative path lies in: the deepest layer folder that
# holds it, or empty for a path outside every layer.
function(vek_folder_of path out)
  set(found "")
  foreach(folder ${VEK_LAYER_FOLDERS})
    string(LENGTH "${folder}" length)
    string(LENGTH "${found}" foundLength)
    if(path MATCHES "^${folder}/" AND length GREATER foundLength)
      set(found "${folder}")
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# The row of a folder in the table (0 at the bottom).
function(vek_rank_of folder out)
  set(rank 0)
  foreach(row ${VEK_LAYERS})
    string(REPLACE " " ";" folders "${row}")
    if(folder IN_LIST folders)
      set(${out} ${rank} PARENT_SCOPE)
      return()
    endif()
    math(EXPR rank "${rank} + 1")
  endforeach()
  set(${out} -1 PARENT_SCOPE)
endfunction()

# Gives a library its folder's headers as "folder/File.h", and nothing
# else: a directory of the build tree holds a link to the folder, and
# that directory is the library's public include directory. A library
# linking another sees that one's folder too, so a target reaches exactly
# the folders it links. A folder whose sub-folders are layers of their own
# (tables/tool) gets a link per header, so that its sub-folders stay out.
function(vek_expose target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  set(inner "")
  foreach(layer ${VEK_LAYER_FOLDERS})
    if(layer MATCHES "^${folder}/")
      list(APPEND inner ${layer})
    endif()
  endforeach()
  if(inner)
    file(MAKE_DIRECTORY ${root}/${folder})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
    endforeach()
  else()
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
