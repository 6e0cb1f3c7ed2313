// The proportional GUI fonts: each material is named after its font ("fontname" of a
// text element) and maps the font's picture written by datagen. Vertex colour and
// alpha carry the text palette and the fades; the batcher winds its quads clockwise,
// so "cull none", and "depthfunc always" (at depth 0 "lequal" always passes; without a
// test the software renderer needs no depth buffer).

normal
{
	nopicmip
	cull none
	{
		map gfx/fonts/normal
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

bold
{
	nopicmip
	cull none
	{
		map gfx/fonts/bold
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}
