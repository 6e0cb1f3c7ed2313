// Materials of the sample courses. Each block shows a family of keywords:
// header keywords, stages, blending, waves, texture-coordinate modifiers, animated
// stages (frame lists and IFL files), conditions with their fallbacks, and the map
// editor's keywords, which the game passes over.

textures/snow/track
{
	qer_editorimage textures/snow/track.tga
	q3map_lightmapSampleSize 16
	map_surfacelight 0
	surfaceparm terrain
	nocompress
	{
		map textures/snow/track
		rgbgen identity
	}
	{
		map $lightmap
		blendfunc GL_DST_COLOR GL_ZERO
	}
	// Glitter only at full shader detail (settings screens); the fallback has none.
#if ShaderLOD 1
	{
		map textures/snow/sparkle
		blendfunc add
		tcgen environment
		detail
	}
#endif
}

textures/sky/clouds
{
	qer_nocarve
	surfaceparm sky
	sort sky
	nomipmaps
	cull none
	fogparms ( 0.8 0.85 0.9 ) 2000
	{
		map textures/sky/clouds
		tcmod scroll 0.01 0
		depthwritenone
	}
	{
		map textures/sky/clouds
		blendfunc GL_ONE GL_ONE_MINUS_SRC_COLOR
		tcmod scroll 0.02 0.005
		tcmod rotate 2
		tcmod stretch sin 1 0.05 0 0.1
		tcmod transform 1 0 0 1 0 0
		tcmod turb 0 0.02 0 0.2
	}
}

textures/trees/spruce
{
	surfaceparm castshadow 300
	cull none
	deformvertexes autosprite2
	{
		map textures/trees/spruce
		alphafunc ge128
		depthfunc lequal
		depthwrite
	}
	{
		map $lightmap
		blendfunc filter
	}
}

textures/trees/bush
{
	cull twosided
	deformvertexes autosprite 1 1
	{
		clampmap textures/trees/spruce
		alphafunc gt 96
		mipmapbias -0.5
		rgbgen identitylighting
	}
}

textures/water/lake
{
	qer_trans 0.5
	tesssize 64
	deformvertexes wave 100 sin 0 2 0 0.5
	deformvertexes normal 0.5 sin 0 0.3 0.2
	deformvertexes bulge 3 1 0.5
	polygonoffset
	sort underwater
	specular 1 1 1 32
	ambient 0.4 0.5 0.6
	diffuse 0.8 0.9 1
	emissive 0 0 0.05
	// A surface effect at the highest shader detail; layered stages otherwise.
#if ShaderLOD 2
	fx data\effects\water.fx
#else
	{
		animmap data\textures\water\lake.ifl
		blendfunc GL_SRC_ALPHA GL_ONE_MINUS_SRC_ALPHA
		alphagen dot 0.2 0.8
		rgbgen lightingdiffuse
	}
	{
		lightmap textures/water/lake_lm
		blendfunc GL_ZERO GL_SRC_COLOR
		tcgen lightmap
	}
#endif
}

textures/stadium/banner
{
	sort banner
	cull twosided
	deformvertexes move 0 0 1 sin 0 2 0 0.3
	deformvertexes normal 0.2 0.7
	{
		animmap 4 3 textures/stadium/banner
		rgbgen wave triangle 0.8 0.2 0 1
		alphagen entity
	}
}

textures/stadium/scoreboard
{
	surfaceparm noclip
	nopicmip
	{
		animmap 2 textures/stadium/banner01 textures/stadium/banner03
		rgbgen oneminusvertex
		alphagen oneminusvertex
		tcgen base
	}
	{
		map textures/stadium/lamp
		blendfunc GL_DST_ALPHA GL_ONE
		depthfunc equal
		alphagen identitylighting
		rgbgen wave square 0.5 0.5 0 2
	}
}

textures/stadium/mirror
{
	portal
	{
		map textures/stadium/lamp
		alphagen portal
		rgbgen identitylighting
	}
}

textures/range/target
{
	light 200
	map_lightImage textures/range/target
	{
		map textures/range/target
		alphafunc gt0
		tcgen vector ( 0.01 0 0 ) ( 0 0.01 0 )
	}
	{
		map textures/range/target
		blendfunc GL_SRC_ALPHA_SATURATE GL_ONE_MINUS_DST_ALPHA
		alphafunc lt128
		alphagen wave inversesawtooth 0 1 0 1
		rgbgen identity
	}
}

textures/range/flare
{
	sort additive
	deformvertexes rotate 0 0 1 0 0 0 10 0
	deformvertexes movewithcamera
	{
		map textures/range/flare
		blendfunc GL_ONE GL_ONE
		alphagen lightingdiffuse
		tcmod stretch sawtooth 1 0.1 0 2
	}
}

textures/water/stream
{
	deformvertexes water 1 2 3 4 5 6 7
	sort 12
	{
		map textures/water/lake01
		alphagen identity
		tcmod scroll 0 -0.3
	}
}
