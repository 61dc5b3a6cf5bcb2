# Writes the site's service worker from sw.js.in: the list of the site's files
# and a stamp of their contents, so that each build with other files is a new
# worker. Run by the build once the files are in place:
#   cmake -DSITE=<folder> -DFILES=<names> -DTEMPLATE=<sw.js.in> -P ServiceWorker.cmake
set(hashes "")
set(quoted "\"./\"") # the folder's own address serves index.html
foreach(name IN LISTS FILES)
    file(SHA256 "${SITE}/${name}" hash)
    string(APPEND hashes "${hash}")
    string(APPEND quoted ", \"${name}\"")
endforeach()
string(SHA256 stamp "${hashes}")
string(SUBSTRING "${stamp}" 0 16 SITE_STAMP)
set(SITE_FILES "${quoted}")
configure_file("${TEMPLATE}" "${SITE}/sw.js" @ONLY)
